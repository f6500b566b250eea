// Only graph pipes get a widget in a settings panel.
#include "ui/settings/panels/MakePipeWidget.h"

#include "core/ControlAndStatus.h"
#include "core/GraphData.h"
#include "core/InternalPipe.h"
#include "support/TestSupport.h"
#include "ui/display/PipeWidgetBase.h"

#include <QImage>
#include <QWidget>
#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <string>

TEST(MakePipeWidgetTest, GraphPipesGetAPlotAndOtherPipesNothing)
{
    testsupport::ScopedHome home;
    const auto hub = boost::make_shared<ControlAndStatus>();
    QWidget parent;
    struct Case {
        const char* what;
        boost::shared_ptr<PipeBase_> pipe;
        std::string kind;
    };
    const Case cases[] = {
        {"graph", boost::make_shared<InternalPipe<GraphData>>(), "GraphPipeWidget"},
        {"text", boost::make_shared<InternalPipe<std::string>>(), "none"},
        {"image", boost::make_shared<InternalPipe<QImage>>(), "none"},
        {"no pipe", boost::shared_ptr<PipeBase_>(), "none"},
    };
    for (const Case& c : cases) {
        PipeWidgetBase* widget = MakePipeWidget(c.pipe, &parent, hub);
        EXPECT_EQ(widget ? widget->metaObject()->className() : "none", c.kind) << c.what;
        if (widget) {
            EXPECT_EQ(widget->parentWidget(), &parent) << c.what;
        }
    }
}
