#include "ui/shell/Ui_MainWindow.h"

#include "ui/toolbar/CustomToolBar.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction* MakeAction(QMainWindow* window, const char* object_name)
{
    QAction* action = new QAction(window);
    action->setObjectName(QString::fromLatin1(object_name));
    return action;
}

QAction* MakeAction(QMainWindow* window, const char* object_name, const char* icon_path)
{
    QAction* action = MakeAction(window, object_name);
    QIcon icon;
    icon.addFile(QString::fromLatin1(icon_path), QSize(), QIcon::Normal, QIcon::Off);
    action->setIcon(icon);
    return action;
}

QMenu* MakeMenu(QMenuBar* bar, const char* object_name)
{
    QMenu* menu = new QMenu(bar);
    menu->setObjectName(QString::fromLatin1(object_name));
    return menu;
}

QString Translate(const char* text)
{
    return QCoreApplication::translate("MainWindow", text);
}

}  // namespace

void Ui_MainWindow::setupUi(QMainWindow* window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QString::fromLatin1("MainWindow"));
    // Not window-modal: a modal main window would count as an open dialogue, and the
    // node editor holds its rebuilds while one is open.
    window->resize(1084, 584);
    QFont font;
    font.setFamily(QString::fromLatin1("Ubuntu Mono"));
    window->setFont(font);
    QIcon logo;
    logo.addFile(QString::fromLatin1(":/images/orvaneLogo2.png"), QSize(), QIcon::Normal, QIcon::Off);
    window->setWindowIcon(logo);

    actionExit = MakeAction(window, "actionExit");
    actionAbout = MakeAction(window, "actionAbout");
    actionZoom_In = MakeAction(window, "actionZoom_In", ":/images/zoom_in.png");
    actionZoom_Out = MakeAction(window, "actionZoom_Out", ":/images/zoom_out.png");
    actionZoom_to_Fit = MakeAction(window, "actionZoom_to_Fit", ":/images/zoom_to_fit.png");
    actionClear = MakeAction(window, "actionClear", ":/images/new_file.png");
    actionRestart = MakeAction(window, "actionRestart", ":/images/restart_icon.png");
    actionNew_View = MakeAction(window, "actionNew_View", ":/images/open_in_new_window.png");
    actionOrvane = MakeAction(window, "actionOrvane");
    actionOrvane->setIcon(logo);

    centralWidget = new QWidget(window);
    centralWidget->setObjectName(QString::fromLatin1("centralWidget"));
    window->setCentralWidget(centralWidget);
    toolBar = new CustomToolBar(window);
    toolBar->setObjectName(QString::fromLatin1("toolBar"));
    window->addToolBar(Qt::TopToolBarArea, toolBar);
    menuBar = new QMenuBar(window);
    menuBar->setObjectName(QString::fromLatin1("menuBar"));
    menuBar->setGeometry(QRect(0, 0, 1084, 21));
    menuFile = MakeMenu(menuBar, "menuFile");
    menuEdit = MakeMenu(menuBar, "menuEdit");
    menuHelp = MakeMenu(menuBar, "menuHelp");
    menuWindow = MakeMenu(menuBar, "menuWindow");
    menuPipeline = MakeMenu(menuBar, "menuPipeline");
    window->setMenuBar(menuBar);

    toolBar->addAction(actionZoom_In);
    toolBar->addAction(actionZoom_Out);
    toolBar->addAction(actionZoom_to_Fit);
    toolBar->addSeparator();
    toolBar->addAction(actionClear);
    toolBar->addAction(actionRestart);
    toolBar->addAction(actionNew_View);
    toolBar->addAction(actionOrvane);

    menuBar->addAction(menuFile->menuAction());
    menuBar->addAction(menuEdit->menuAction());
    menuBar->addAction(menuPipeline->menuAction());
    menuBar->addAction(menuWindow->menuAction());
    menuBar->addAction(menuHelp->menuAction());
    menuFile->addAction(actionClear);
    menuFile->addAction(actionExit);
    menuEdit->addAction(actionZoom_In);
    menuEdit->addAction(actionZoom_Out);
    menuEdit->addAction(actionZoom_to_Fit);
    menuPipeline->addAction(actionRestart);
    menuWindow->addAction(actionNew_View);
    menuHelp->addAction(actionAbout);

    retranslateUi(window);
    QMetaObject::connectSlotsByName(window);
}

void Ui_MainWindow::retranslateUi(QMainWindow* window)
{
    window->setWindowTitle(Translate("Orvane - Computer vision, one node at a time - pre-alpha release."));
    actionExit->setText(Translate("Exit"));
    actionAbout->setText(Translate("About..."));
    actionZoom_In->setText(Translate("Zoom In"));
    actionZoom_In->setShortcut(QKeySequence(Translate("Ctrl+=")));
    actionZoom_Out->setText(Translate("Zoom Out"));
    actionZoom_Out->setShortcut(QKeySequence(Translate("Ctrl+-")));
    actionZoom_to_Fit->setText(Translate("Zoom to Fit"));
    actionZoom_to_Fit->setShortcut(QKeySequence(Translate("Ctrl+F")));
    actionClear->setText(Translate("New"));
    actionClear->setToolTip(Translate("Clears all of the elements"));
    actionClear->setShortcut(QKeySequence(Translate("Shift+Del")));
    actionRestart->setText(Translate("Restart"));
    actionRestart->setToolTip(Translate("Restarts the pipeline"));
    actionRestart->setShortcut(QKeySequence(Translate("Ctrl+R")));
    actionNew_View->setText(Translate("New View"));
    actionOrvane->setText(Translate("Orvane"));
    actionOrvane->setToolTip(Translate("Orvane"));
    toolBar->setWindowTitle(Translate("toolBar"));
    menuFile->setTitle(Translate("File"));
    menuEdit->setTitle(Translate("View"));
    menuHelp->setTitle(Translate("Help"));
    menuWindow->setTitle(Translate("Window"));
    menuPipeline->setTitle(Translate("Pipeline"));
}
