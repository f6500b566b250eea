// The save box: a typed name saves the pipeline through the hub's save signal; an empty
// name saves nothing and warns; a name the store refuses stays inside the widget.
#include "FileStoreFixture.h"

#include "support/LogCapture.h"
#include "ui/sidepanel/LoadSideBarWidget.h"
#include "ui/sidepanel/NodeSidebarWidget.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

class NodeSidebarWidgetTest : public FileStoreFixture {
protected:
    void SaveAs(const QString& name)
    {
        widget_.FileName()->setText(name);
        QTest::mouseClick(widget_.SaveButton(), Qt::LeftButton);
    }

    QStringList SavedFiles() const
    {
        return QDir(QString::fromStdString(ControlAndStatus::GetSettingsDirectory())).entryList(QDir::Files);
    }

    NodeSidebarWidget widget_{hub_, nullptr};
};

}  // namespace

TEST_F(NodeSidebarWidgetTest, ASavedNameAppearsInTheListOfSavedPipelines)
{
    commander_->MakeElement("Blur", "");
    SaveAs("evening");
    EXPECT_TRUE(IsSaved("evening"));
    LoadSideBarWidget list(hub_, nullptr);
    ASSERT_EQ(list.List()->count(), 1);
    EXPECT_EQ(list.List()->item(0)->text(), "evening");
}

TEST_F(NodeSidebarWidgetTest, AnEmptyNameSavesNothingAndWarns)
{
    LogCapture log;
    SaveAs("");
    EXPECT_TRUE(SavedFiles().isEmpty()) << SavedFiles().join(", ").toStdString();
    bool warned = false;
    std::istringstream lines(log.Text());
    for (std::string line; std::getline(lines, line);)
        warned = warned || (line.find("[WARNING]") != std::string::npos &&
                            line.find("Please enter file name") != std::string::npos);
    EXPECT_TRUE(warned) << log.Text();
}

TEST_F(NodeSidebarWidgetTest, ANameTheStoreRefusesIsLoggedAndSavesNothing)
{
    LogCapture log;
    SaveAs("../outside");
    EXPECT_FALSE(QFileInfo::exists(
        QString::fromStdString(ControlAndStatus::GetSettingsDirectory() + "../outside.xml")));
    EXPECT_TRUE(log.Contains("[ERROR]")) << log.Text();
}
