#include "elements/MainDisplayElement.h"

#include <boost/make_shared.hpp>

MainDisplayElement::MainDisplayElement(boost::shared_ptr<ControlAndStatus> controls)
    : ElementFilter<VideoFrame>(controls), display_controls_(boost::make_shared<MainDisplayControls>())
{
    settings.AddSetting("_controls", &display_controls_, "");
    display_controls_->element_alive.Set(true);
}

MainDisplayElement::~MainDisplayElement()
{
    display_controls_->element_alive.Set(false);
}

PassableItem<VideoFrame> MainDisplayElement::Process(PassableItem<VideoFrame> item)
{
    display_controls_->PushFrame(item.data->image);
    return item;
}
