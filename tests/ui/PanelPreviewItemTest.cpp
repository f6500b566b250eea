// A node's live preview in the editor: new pictures reach the view without the node's
// panel being painted again, and panels stay cached while the view repaints.
#include "EditorFixture.h"
#include "PipelineFixture.h"

#include "core/PreviewControls.h"
#include "ui/display/PreviewWidget.h"
#include "ui/editor/CustomGraphicView.h"

#include <QGraphicsProxyWidget>
#include <QPixmapCache>

#include <gtest/gtest.h>

#include <set>

using namespace testsupport;

namespace {

// Counts the paint events of the widgets of the panels the editor shows.
class PanelPaints : public QObject {
public:
    explicit PanelPaints(const std::vector<QWidget*>& panels) : panels_(panels.begin(), panels.end())
    {
        qApp->installEventFilter(this);
    }
    ~PanelPaints() override { qApp->removeEventFilter(this); }

    int count = 0;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType() &&
            InPanel(static_cast<QWidget*>(object)))
            ++count;
        return false;
    }

private:
    bool InPanel(const QWidget* widget) const
    {
        for (; widget; widget = widget->parentWidget()) {
            if (panels_.count(widget))
                return true;
        }
        return false;
    }

    std::set<const QWidget*> panels_;
};

class PanelPreviewItemTest : public ::testing::Test {
protected:
    // Blur nodes side by side, shown at the view's own scale.
    void Show(int nodes)
    {
        for (int i = 0; i < nodes; ++i)
            ids_.push_back(f_.Make("Blur", i * 700, 0));
        f_.MakeEditor();
        f_.editor->show();
        f_.Settle();
    }

    std::vector<QWidget*> Panels() const
    {
        std::vector<QWidget*> panels;
        for (QGraphicsItem* item : f_.editor->Scene()->items()) {
            if (auto* proxy = dynamic_cast<QGraphicsProxyWidget*>(item); proxy && proxy->widget())
                panels.push_back(proxy->widget());
        }
        return panels;
    }

    PreviewControls& Controls(const std::string& id)
    {
        return *boost::any_cast<PreviewControls*>(
            f_.commander->GetElement(id)->settings.FindItem("_preview_controls").value);
    }

    // The view's pixel at the middle of the node's preview.
    QColor ShownColour(const std::string& id)
    {
        for (QGraphicsItem* child : f_.Node(id)->childItems()) {
            auto* proxy = dynamic_cast<QGraphicsProxyWidget*>(child);
            auto* preview = proxy && proxy->widget() ? proxy->widget()->findChild<PreviewWidget*>() : nullptr;
            if (!preview)
                continue;
            const QPoint centre = preview->mapTo(proxy->widget(), preview->rect().center());
            const QPoint at = f_.editor->View()->mapFromScene(proxy->mapToScene(QPointF(centre)));
            return QColor(f_.editor->View()->viewport()->grab().toImage().pixel(at));
        }
        ADD_FAILURE() << "no preview in " << id;
        return QColor();
    }

    // Serves the node's next request with a frame of one colour, as its element thread
    // would, and waits until the view shows it.
    bool ShowFrame(const std::string& id, const QColor& colour)
    {
        PreviewControls& controls = Controls(id);
        if (!WaitForGui([&] { return controls.IsPreviewWanted(); }))
            return false;
        controls.SubmitFrame(
            cv::Mat(240, 320, CV_8UC3, cv::Scalar(colour.blue(), colour.green(), colour.red())));
        return WaitForGui([&] { return Near(ShownColour(id), colour, 8); });
    }

    EditorFixture f_;
    std::vector<std::string> ids_;
};

// Each new picture repaints its small item in the view; the panel around it, cached,
// is not painted again.
TEST_F(PanelPreviewItemTest, NewPicturesLeaveThePanelUnpainted)
{
    Show(1);
    // The first picture gives the preview its height; the node then follows its panel's
    // new size (a refresh of the editor), and the view caches the panel.
    ASSERT_TRUE(ShowFrame(ids_[0], QColor(200, 200, 0)));
    QMetaObject::invokeMethod(f_.editor.get(), "RefreshGUI");
    f_.Settle();
    f_.editor->View()->viewport()->grab();
    const PanelPaints paints(Panels());
    for (const QColor& colour : {QColor(200, 0, 0), QColor(0, 0, 200), QColor(0, 200, 0)}) {
        ASSERT_TRUE(ShowFrame(ids_[0], colour)) << colour.name().toStdString();
    }
    EXPECT_EQ(paints.count, 0);
}

// Panels cached in device pixels must not evict one another: with the cache left as small as
// it can be, the editor makes room for what it shows, and then a repaint of the whole view
// paints no panel's widgets.
TEST_F(PanelPreviewItemTest, TheViewKeepsRoomForThePanelsItShows)
{
    const int limit = QPixmapCache::cacheLimit();
    QPixmapCache::setCacheLimit(1);
    Show(3);
    const bool cached = WaitForGui([&] {
        f_.editor->View()->viewport()->grab();
        const PanelPaints paints(Panels());
        f_.editor->View()->viewport()->grab();
        return paints.count == 0;
    });
    QPixmapCache::setCacheLimit(limit);
    EXPECT_TRUE(cached);
}

}  // namespace
