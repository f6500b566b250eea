#include "control/ElementIdMaker.h"

#include "control/ElementTable.h"

ElementIdMaker::ElementIdMaker(const ElementTable* id_table) : id_table_(id_table) {}

std::string ElementIdMaker::MakeUniqueId(const std::string& base) const
{
    return ElementTable::NumberedId(base, id_table_ ? id_table_->FirstFreeNumber(base) : 0);
}
