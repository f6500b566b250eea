#pragma once
// The main window's form: its actions, tool bar, menu bar and menus, built in code. The
// main window owns the form object; every widget and action in it is a Qt child of the
// window.

class CustomToolBar;
class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QWidget;

class Ui_MainWindow {
public:
    QAction* actionExit;
    QAction* actionAbout;
    QAction* actionZoom_In;
    QAction* actionZoom_Out;
    QAction* actionZoom_to_Fit;
    QAction* actionClear;
    QAction* actionRestart;
    QAction* actionNew_View;
    QAction* actionOrvane;
    QWidget* centralWidget;
    CustomToolBar* toolBar;
    QMenuBar* menuBar;
    QMenu* menuFile;
    QMenu* menuEdit;
    QMenu* menuHelp;
    QMenu* menuWindow;
    QMenu* menuPipeline;

    void setupUi(QMainWindow* window);
    void retranslateUi(QMainWindow* window);
};
