#include "core/SettingsConvertors.h"

#include "core/MainDisplayControls.h"
#include "core/SettingConvertorFunctional.h"
#include "core/SettingsConvertorControlBase.h"

// The rows of the system's own types and control records follow the plain rows here.
// The last two serve the inset box of "Video In Video", which would otherwise be lost
// on every save and load.
void RegisterOwnTypeSettingsConvertors(SettingsConvertorList& registry)
{
    RegisterSettingsConvertor<SettingConvertorFunctional<FrameNumber>>(registry);
    RegisterSettingsConvertor<SettingConvertorFunctional<QRect>>(registry);
    RegisterSettingsConvertor<SettingConvertorFunctional<QPoint>>(registry);
    RegisterSettingsConvertor<SettingConvertorFunctional<SettingsLoader>>(registry);
    RegisterSettingsConvertor<SettingConvertorFunctional<ControlBaseClass>>(registry);
    RegisterSettingsConvertor<SettingConvertorFunctional<VideoFormat::ColourSpace>>(registry);
    RegisterSettingsConvertor<SettingConvertorFunctional<cv::Vec<double, 3>>>(registry);
    RegisterSettingsConvertor<SettingConvertorFunctional<ThreadSafeVariable<cv::Scalar_<double>>>>(registry);
    RegisterSettingsConvertor<SettingConvertorFunctional<FrameRate>>(registry);
    RegisterSettingsConvertor<SettingConvertorFunctional<PreviewControls>>(registry);
    RegisterSettingsConvertor<SettingsConvertorControlBase<MainDisplayControls>>(registry);
    RegisterSettingsConvertor<SettingsConvertorControlBase<SubImageControls>>(registry);
    RegisterSettingsConvertor<SettingConvertorFunctional<ThreadSafeVariable<cv::Rect>>>(registry);
    RegisterSettingsConvertor<SettingConvertorFunctional<SubImageControls>>(registry);
}
