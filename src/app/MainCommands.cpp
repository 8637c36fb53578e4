#include "MainCommands.h"

#include "AppIcons.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace T = MainWindowTexts;

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

} // namespace

MainCommands::MainCommands(QMainWindow *window, int toolbarHeight) : m_window(window)
{
    loadTemplate = createAction(T::LoadTemplate);
    saveTemplate = createAction(T::SaveTemplate);
    exit = createAction(T::Exit);
    setup = createAction(T::Setup);
    setDefault = createAction(T::SetDefault);
    loadPhoto = createAction(T::LoadPhoto);
    removePhoto = createAction(T::RemovePhoto);
    fillFromPhoto = createAction(T::FillFromPhoto);
    chooseSubframes = createAction(T::ChooseSubframes);
    forgetSubframes = createAction(T::ForgetSubframes);
    forgetSubframes->setEnabled(false);
    skyOverlay = createAction(T::SkyOverlay);
    copyClipboard = createAction(T::copyToClipboard);
    savePhoto = createAction(T::SavePhoto);
    fitWindow = createAction(T::FitWindow);
    fitWindow->setCheckable(true);
    version = createAction(T::Version);
    buildMenus();
    buildToolbar(toolbarHeight);
}

QAction *MainCommands::createAction(const T::MenuEntry &entry)
{
    auto *action = new QAction(tr(entry.caption), m_window);
    action->setObjectName(QString::fromLatin1(entry.name));
    return action;
}

// A menu of the menu bar with its entries.
QMenu *MainCommands::addMenu(const T::MenuEntry &menu, const QList<QAction *> &entries)
{
    QMenu *added = m_window->menuBar()->addMenu(tr(menu.caption));
    added->setObjectName(QString::fromLatin1(menu.name));
    added->addActions(entries);
    return added;
}

void MainCommands::buildMenus()
{
    const auto separator = [](QMenu *menu, QAction *before, const char *name) {
        menu->insertSeparator(before)->setObjectName(QString::fromLatin1(name));
    };
    QMenu *file = addMenu(T::FileMenu, {loadTemplate, saveTemplate, exit});
    separator(file, exit, T::FileSeparator);
    QMenu *edit = addMenu(T::EditMenu, {setup, setDefault});
    separator(edit, setDefault, T::EditSeparator);
    // The photo commands in their fixed order, then the added ones.
    QMenu *photo =
        addMenu(T::PhotoMenu, {loadPhoto, removePhoto, copyClipboard, savePhoto, fillFromPhoto,
                               chooseSubframes, forgetSubframes, skyOverlay, fitWindow});
    separator(photo, copyClipboard, T::PhotoSeparator);
    separator(photo, fillFromPhoto, T::FillSeparator);
    separator(photo, fitWindow, T::ViewSeparator);
    addMenu(T::HelpMenu, {version});
}

// The command's button on the toolbar. The icon is the button's own, so that the menu entries
// stay without one; the button carries the toolbar key as its name.
void MainCommands::addToolButton(QAction *command, const T::MenuEntry &entry)
{
    command->setIconText(tr(entry.toolTip));
    command->setToolTip(tr(entry.toolTip));
    m_toolbar->addAction(command);
    auto *tool = static_cast<QToolButton *>(m_toolbar->widgetForAction(command));
    tool->setObjectName(QString::fromLatin1(entry.toolbarKey));
    const QIcon icon = AppIcons::toolbarIcon(entry.toolbarKey);
    tool->setIcon(icon);
    // A change of the action gives the button the action's (empty) icon: take ours back.
    QObject::connect(command, &QAction::changed, tool, [tool, icon] { tool->setIcon(icon); });
}

void MainCommands::buildToolbar(int height)
{
    m_toolbar = m_window->addToolBar(QString());
    m_toolbar->setObjectName(QStringLiteral("Toolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(16, 16));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar->toggleViewAction()->setEnabled(false);
    m_window->setContextMenuPolicy(Qt::NoContextMenu);

    addToolButton(loadTemplate, T::LoadTemplate);
    addToolButton(saveTemplate, T::SaveTemplate);
    m_toolbar->addSeparator();
    addToolButton(setup, T::Setup);
    m_toolbar->addSeparator();
    addToolButton(exit, T::Exit);
    // The empty placeholder: a gap that runs nothing.
    auto *gap = new QWidget(m_toolbar);
    gap->setFixedWidth(16);
    m_toolbar->addWidget(gap);
    addToolButton(loadPhoto, T::LoadPhoto);
    addToolButton(removePhoto, T::RemovePhoto);
    m_toolbar->addSeparator();
    addToolButton(copyClipboard, T::copyToClipboard);
    addToolButton(savePhoto, T::SavePhoto);
    m_toolbar->setFixedHeight(height);
}
