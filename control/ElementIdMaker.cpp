#include "control/ElementIdMaker.h"

#include "control/ElementTable.h"

ElementIdMaker::ElementIdMaker(const ElementTable* id_table) : id_table_(id_table) {}

std::string ElementIdMaker::MakeUniqueId(const std::string& base) const
{
    for (unsigned long long number = 0;; ++number) {
        const std::string candidate = base + "_" + std::to_string(number);
        if (!id_table_ || !id_table_->Exists(candidate))
            return candidate;
    }
}
