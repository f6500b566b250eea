#include "control/PipelineFiles.h"

#include "core/ControlAndStatus.h"
#include "core/CustomException.h"

std::string PipelineFilePath(const std::string& name)
{
    if (!IsSafeFileName(name))
        throw CustomException("Refused pipeline name");
    return ControlAndStatus::GetSettingsDirectory() + name + ".xml";
}
