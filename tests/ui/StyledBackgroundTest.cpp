// Own widget classes draw the background their style sheet gives them, as a person
// sees it in a grab (a plain QWidget subclass would draw none).
#include "ui/controls/NumberSelector.h"
#include "ui/controls/ValueSelector.h"
#include "ui/settings/ThreadBoolSettingItem.h"
#include "ui/settings/ThreadIntSettingItem.h"

#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Grabbed through the host, so only what the widget itself paints is red.
double RedShare(QWidget* host, QWidget* widget)
{
    const QImage shot = host->grab(widget->geometry()).toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            red += shot.pixelColor(x, y) == QColor(255, 0, 0);
    return double(red) / (shot.width() * shot.height());
}

}  // namespace

TEST(StyledBackgroundTest, OwnWidgetsPaintTheirStyleSheetBackground)
{
    ThreadSafeVariable<bool> flag(false);
    ThreadSafeVariable<int> size(3);
    const std::pair<const char*, std::function<QWidget*()>> cases[] = {
        {"NumberSelector", [] { return new NumberSelector; }},
        {"ValueSelector", [] { return new ValueSelector; }},
        {"ThreadBoolSettingItem", [&] { return new ThreadBoolSettingItem(&flag, "Enabled", nullptr); }},
        {"ThreadIntSettingItem", [&] { return new ThreadIntSettingItem(&size, "Size", 0, 10, nullptr); }},
    };
    for (const auto& [name, make] : cases) {
        // A child: a window fills its background anyway, a child only when it paints it.
        QWidget host;
        QWidget* widget = make();
        widget->setParent(&host);
        widget->setStyleSheet(QString("%1 { background-color: rgb(255, 0, 0); }").arg(name));
        widget->resize(300, 80);
        host.resize(320, 100);
        host.show();
        EXPECT_GT(RedShare(&host, widget), 0.05) << name;
    }
}
