#include "core/SubImageControls.h"

#include <boost/make_shared.hpp>

SubImageControls::SubImageControls()
    : ControlBaseClass("SubImageControls"), image_pipe(boost::make_shared<InternalPipe<QImage>>())
{
    settings.AddSetting("_box", &box, "");
}

SubImageControls::~SubImageControls() = default;
