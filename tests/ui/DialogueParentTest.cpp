// Pickers in a panel embedded in the node editor's scene open their dialogues as real
// windows: a dialogue embedded in the scene neither paints nor takes keys.
#include "ui/ModalDialogues.h"
#include "ui/settings/FileSelectWidget.h"
#include "ui/settings/ThreadColourSettingItem.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPushButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct PickerCase {
    const char* name;
    // Builds the picker inside the panel and returns its button.
    std::function<QPushButton*(QWidget* panel)> make;
};

}  // namespace

TEST(DialogueParentTest, APickerInAnEmbeddedPanelOpensARealWindow)
{
    ThreadSafeVariable<std::string> path(std::string("/tmp"));
    ThreadSafeVariable<cv::Scalar> colour(cv::Scalar(1, 2, 3, 0));
    const PickerCase pickers[] = {
        {"file",
         [&](QWidget* panel) {
             return (new FileSelectWidget(&path, QStringLiteral("File Path"), panel, true, false, false))
                 ->Button();
         }},
        {"colour",
         [&](QWidget* panel) {
             return (new ThreadColourSettingItem(&colour, QStringLiteral("Pick Colour"), panel))->Button();
         }},
    };
    for (const PickerCase& picker : pickers) {
        SCOPED_TRACE(picker.name);
        QGraphicsScene scene;
        QGraphicsView view(&scene);
        auto* panel = new QWidget;
        panel->setLayout(new QVBoxLayout);
        QPushButton* button = picker.make(panel);
        panel->layout()->addWidget(button->parentWidget());
        QGraphicsProxyWidget* proxy = scene.addWidget(panel);
        ASSERT_NE(proxy, nullptr);
        view.show();
        view.activateWindow();
        QWidget* active = QApplication::activeWindow();

        QGraphicsProxyWidget* embedded_in = nullptr;
        QWidget* parent = panel;
        ASSERT_TRUE(testsupport::ClickAndAnswer(button, [&](QWidget* dialogue) {
            embedded_in = dialogue->graphicsProxyWidget();
            parent = dialogue->parentWidget();
            dialogue->close();
        }));
        EXPECT_EQ(embedded_in, nullptr);
        EXPECT_EQ(parent, active);
    }
}
