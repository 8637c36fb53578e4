#pragma once

#include "MainWindowTexts.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// The commands of the main window: one action per command, shared by its menu entry and its
// toolbar button, with the menu bar and the toolbar built from them. The window connects the
// actions to what they do.
class MainCommands
{
public:
    // Builds the actions as children of `window`, its menus and its toolbar of `toolbarHeight`
    // pixels.
    MainCommands(QMainWindow *window, int toolbarHeight);

    QAction *loadTemplate, *saveTemplate, *exit, *setup, *setDefault, *loadPhoto, *removePhoto,
        *fillFromPhoto, *chooseSubframes, *forgetSubframes, *skyOverlay, *copyClipboard, *savePhoto,
        *fitWindow, *version;

private:
    QAction *createAction(const MainWindowTexts::MenuEntry &entry);
    QMenu *addMenu(const MainWindowTexts::MenuEntry &menu, const QList<QAction *> &entries);
    void buildMenus();
    void addToolButton(QAction *command, const MainWindowTexts::MenuEntry &entry);
    void buildToolbar(int height);

    QMainWindow *m_window;
    QToolBar *m_toolbar = nullptr;
};
