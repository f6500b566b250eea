#include "core/CustomException.h"

#include "core/FILELog.h"

CustomException::CustomException(const std::string& message) : std::runtime_error(message)
{
    FILE_LOG(logERROR) << "Exception thrown: " << message;
}
