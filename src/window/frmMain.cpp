// The main window: fixed layout in twips, the menu tree, start-up and event wiring.
#include "app/frmMain.h"

#include "Version.h"
#include "commands/CommandInterpreter.h"
#include "commands/CommandList.h"
#include "editing/DepthDrag.h"
#include "editing/ObjectMenus.h"
#include "editing/PointPlacement.h"
#include "files/FileCommands.h"
#include "platform/ProgramNames.h"
#include "views/GridLayout.h"
#include "views/Rendering.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <limits>

// The icon lives in the core library's resources. A static library's resources reach a
// program only when something names their initialiser, and naming it must happen outside
// any namespace.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {
constexpr ColorRef ViewGrey = 0x808080;
constexpr ColorRef DarkGrey = 0x404040;
constexpr ColorRef ListGrey = 0xE0E0E0;

QIcon programIcon() { return QIcon(QStringLiteral(":/icon.png")); }
} // namespace

frmMain::frmMain(Dialogs& dialogs, SettingsStore& settings, QString programFolder)
    : cdlOpen(dialogs), cdlDrawing(dialogs, 0xFFFFFF), cdlColorGrid(dialogs, 0x404040), cdlGridBg(dialogs, 0xC0C0FF),
      cdl3dObject(dialogs, 0x00FFFF), dialogs_(dialogs), settings_(settings),
      programFolderOverride_(std::move(programFolder))
{
    registerResources();
    setCaption(WindowCaption);
    setWindowIcon(programIcon());
    buildControls();
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    views_ = std::make_unique<ViewContext>(ViewContext{state, *picFront, *picSide, *picTop, *pic3dView, grid,
                                                       cdlColorGrid, cdlGridBg, cdlDrawing, cdl3dObject, *sbStatus,
                                                       dialogs_});
    editing_ = std::make_unique<EditingContext>(EditingContext{
        *views_, *txtDepth, *mnuPopUp, mnuStyle,
        [this](float x, float y) { return picFront->twipsToGlobal(x, y); }});
    commands_ = std::make_unique<CommandContext>(CommandContext{*editing_, *txtCommand, *lstCommand, *picCommand});
    files_ = std::make_unique<FilesContext>(FilesContext{*views_, cdlOpen, fleObj, fleWork, CmdObj, CmdWrk, mnuRecent,
                                                         settings_, [this](const QString& c) { setCaption(c); }});
    wireEvents();
}

frmMain::~frmMain() = default;

// Qt takes "[*]" in a title for its placeholder of unsaved changes and shows "[*][*]" as one
// "[*]", so doubling each makes a path that holds one show as written.
void frmMain::setCaption(const QString& caption)
{
    setWindowTitle(QString(caption).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

QString frmMain::versionedCaption(int major, int minor, int revision)
{
    return WindowCaption + QStringLiteral("  v.%1.%2.%3").arg(major).arg(minor).arg(revision);
}


void frmMain::buildControls()
{
    auto* client = new QWidget(this);
    client->setFixedSize(widgetPixels(15240, PixelRounding::Holding), widgetPixels(10545, PixelRounding::Holding));
    QPalette clientPalette = client->palette();
    clientPalette.setColor(QPalette::Window, toQColor(DarkGrey));
    client->setPalette(clientPalette);
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    const ColorRef panelBack = fromQColor(palette().color(QPalette::Window));
    picCommand = new PictureBox(client, 45, 5190, 3975, 2130, panelBack, false);
    picCommand->setPalette(QApplication::palette());
    Label1 = new QLabel(QStringLiteral("Click or type in a command, then press the       \"Execute Command\" button"), picCommand);
    placeTwips(Label1, 0, -15, 3930, 450);
    Label1->setWordWrap(true);
    setColors(Label1, 0x800000, 0xFFFFFF);
    lstCommand = new QListWidget(picCommand);
    placeTwips(lstCommand, 45, 780, 3810, 615);
    setColors(lstCommand, ListGrey);
    cmdExecute = new QPushButton(QStringLiteral("Execute Command"), picCommand);
    placeTwips(cmdExecute, 45, 1440, 3810, 285);
    txtCommand = new QLineEdit(picCommand);
    placeTwips(txtCommand, 45, 1710, 3810, 285);
    // A pasted line of any length is taken whole; the interpreter checks what it holds.
    txtCommand->setMaxLength(std::numeric_limits<int>::max());

    sstMiscDrawing = new TabControl(client, {QStringLiteral("Object List"), QStringLiteral("Workspaces")}, DarkGrey);
    placeTwips(sstMiscDrawing, 45, 30, 2355, 5130);
    Picture1[1] = new PictureBox(sstMiscDrawing->page(1), 75, 375, 2190, 4665, ViewGrey, false);
    Picture1[0] = new PictureBox(sstMiscDrawing->page(0), 75, 390, 2190, 4665, ViewGrey, false);
    for (int i = 0; i < 16; ++i) {
        CmdWrk[std::size_t(i)] = new PictureButton(Picture1[1], programIcon());
        placeTwips(CmdWrk[std::size_t(i)], 15, float(15 + 285 * i), 2085, 285);
        CmdObj[std::size_t(i)] = new PictureButton(sstMiscDrawing->page(0), programIcon());
        placeTwips(CmdObj[std::size_t(i)], 135, float(435 + 285 * i), 2085, 285);
    }

    picContainer = new PictureBox(client, 5025, 15, 10260, 10215, panelBack, false);
    picContainer->setPalette(QApplication::palette());
    // The program's icon stands to the left of the views' container, level with its top.
    constexpr float IconWidth = 300;
    picIcon = new PictureBox(client, picContainer->Left() - IconWidth, picContainer->Top(), IconWidth, 225, ViewGrey, false);
    pic3dView = new PictureBox(picContainer, 5175, 60, 5000, 5000, 0x000000, true);
    picTop = new PictureBox(picContainer, 5160, 5145, 5000, 5000, ViewGrey, true);
    picFront = new PictureBox(picContainer, 75, 60, 5000, 4980, ViewGrey, true);
    picSide = new PictureBox(picContainer, 75, 5145, 5000, 5000, ViewGrey, true);
    for (int i = 1; i <= 60; ++i) {
        const auto k = std::size_t(i);
        grid.Grid[k] = picFront->addLineObject();
        grid.Gridv[k] = picFront->addLineObject();
        grid.sLine[k] = picSide->addLineObject();
        grid.sLinev[k] = picSide->addLineObject();
        grid.tLine[k] = picTop->addLineObject();
        grid.tLinev[k] = picTop->addLineObject();
    }

    txtDepth = new QLineEdit(client);
    placeTwips(txtDepth, 1440, 750, 960, 270);
    setColors(txtDepth, ListGrey);
    txtDepth->raise();

    sbStatus = new StatusBar(this);
    setStatusBar(sbStatus);
    sbStatus->setPanelText(4, QStringLiteral("Views"));
    sbStatus->setPanelText(5, QStringLiteral("[X:    Y:    ]"));
    sbStatus->setPanelText(6, QStringLiteral("Last Object:"));
}

void frmMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto item = [](QMenu* menu, const char* caption) { return menu->addAction(QString::fromLatin1(caption)); };

    mnuFile = bar->addMenu(QStringLiteral("File"));
    mnuOpen = item(mnuFile, "Open Object");
    mnuSave = item(mnuFile, "Save Object");
    mnuOpenWork = item(mnuFile, "Open Workspace");
    mnuSaveWork = item(mnuFile, "Save Workspace");
    mnuClear = item(mnuFile, "Clear");
    mnuSeperator[1] = mnuFile->addSeparator();
    mnuRecentHead = mnuFile->addMenu(QStringLiteral("Recent Files"));
    for (QAction*& recent : mnuRecent) {
        recent = item(mnuRecentHead, "recent");
        recent->setVisible(false);
    }

    mnuEdit = bar->addMenu(QStringLiteral("Edit"));
    mnuExtrude = item(mnuEdit, "Extrude Object");
    mnuCommand = mnuEdit->addMenu(QStringLiteral("Command Box"));
    mnuComm[0] = item(mnuCommand, "Show Command Box");
    mnuComm[1] = item(mnuCommand, "Hide Command Box");
    mnuDraw = mnuEdit->addMenu(QStringLiteral("Drawing Style"));
    const char* styles[] = {"Straight Lines", "Smooth Lines", "Complex Lines", "Current Lines"};
    for (std::size_t i = 0; i < mnuStyle.size(); ++i) {
        mnuStyle[i] = item(mnuDraw, styles[i]);
        mnuStyle[i]->setCheckable(true);
    }
    mnuStyle[0]->setChecked(true);
    mnuStyle[1]->setEnabled(false);
    mnuStyle[2]->setEnabled(false);

    mnuObj = bar->addMenu(QStringLiteral("Objects"));
    mnuPointobj = item(mnuObj, "Point Object");

    mnuGrdConfig = bar->addMenu(QStringLiteral("Grid Configuration"));
    mnuRadius = item(mnuGrdConfig, "Point Radius");
    mnuGsize = mnuGrdConfig->addMenu(QStringLiteral("Grid Size"));
    const char* sizes[] = {"Small", "Medium", "Large", "Extra Large"};
    for (std::size_t i = 0; i < mnuGridsize.size(); ++i)
        mnuGridsize[i] = item(mnuGsize, sizes[i]);
    mnuBgColor = item(mnuGrdConfig, "BackGround Color");
    mnuObjColor = item(mnuGrdConfig, "Object Color");
    mnuGrdColor = item(mnuGrdConfig, "Line Color");
    mnuLines = mnuGrdConfig->addMenu(QStringLiteral("Lines"));
    mnuLneOn = item(mnuLines, "On");
    mnuLneOff = item(mnuLines, "Off");
    mnuWidth = item(mnuLines, "Line Width");

    mnuTools = bar->addMenu(QStringLiteral("ToolBar"));
    mnuTools->menuAction()->setVisible(false);

    mnuRender = bar->addMenu(QStringLiteral("Render Window"));
    mnu3dColor = item(mnuRender, "Object Color");

    mnuPopUp = bar->addMenu(QStringLiteral("Draw Polygon"));
    mnuDrawPoly = item(mnuPopUp, "Draw 2D");
    mnuDraw3D = item(mnuPopUp, "Draw 3D");
}

void frmMain::wireEvents()
{
    auto on = [this](QAction* action, auto handler) { connect(action, &QAction::triggered, this, handler); };

    // Views.
    picFront->MouseMove = [this](int b, int s, float x, float y) { picFront_MouseMove(editing(), b, s, x, y); };
    picFront->MouseUp = [this](int b, int s, float x, float y) { picFront_MouseUp(editing(), b, s, x, y); };
    picFront->Click = [this] { picFront_Click(editing()); };
    picSide->MouseDown = [this](int b, int s, float x, float y) { picSide_MouseDown(editing(), b, s, x, y); };
    picSide->MouseMove = [this](int b, int s, float x, float y) { picSide_MouseMove(editing(), b, s, x, y); };
    picSide->MouseUp = [this](int b, int s, float x, float y) { picSide_MouseUp(editing(), b, s, x, y); };
    picTop->MouseMove = [this](int b, int s, float x, float y) { picTop_MouseMove(editing(), b, s, x, y); };
    pic3dView->MouseMove = [this](int b, int s, float x, float y) { pic3dView_MouseMove(editing(), b, s, x, y); };
    picContainer->MouseMove = [this](int b, int s, float x, float y) { picContainer_MouseMove(editing(), b, s, x, y); };

    // File menu.
    on(mnuOpen, [this] { mnuOpen_Click(files()); });
    on(mnuSave, [this] { mnuSave_Click(files()); });
    on(mnuOpenWork, [this] { mnuOpenWork_Click(files()); });
    on(mnuSaveWork, [this] { mnuSaveWork_Click(files()); });
    on(mnuClear, [this] { mnuClear_Click(editing()); });
    for (int i = 0; i < int(mnuRecent.size()); ++i)
        on(mnuRecent[std::size_t(i)], [this, i] { mnuRecent_Click(files(), i); });

    // Edit menu.
    on(mnuExtrude, [this] { mnuExtrude_Click(editing()); });
    for (int i = 0; i < int(mnuComm.size()); ++i)
        on(mnuComm[std::size_t(i)], [this, i] { mnuComm_Click(commands(), i); });
    for (int i = 0; i < int(mnuStyle.size()); ++i)
        on(mnuStyle[std::size_t(i)], [this, i] { mnuStyle_Click(editing(), i); });

    // Objects and Grid Configuration menus.
    on(mnuPointobj, [this] { mnuPointobj_Click(editing()); });
    on(mnuRadius, [this] { mnuRadius_Click(editing()); });
    for (int i = 0; i < int(mnuGridsize.size()); ++i)
        on(mnuGridsize[std::size_t(i)], [this, i] { mnuGridsize_Click(views(), i); });
    on(mnuBgColor, [this] { mnuBgColor_Click(views()); });
    on(mnuObjColor, [this] { mnuObjColor_Click(views()); });
    on(mnuGrdColor, [this] { mnuGrdColor_Click(views()); });
    on(mnuLneOn, [this] { mnuLneOn_Click(views()); });
    on(mnuLneOff, [this] { mnuLneOff_Click(views()); });
    on(mnuWidth, [this] { mnuWidth_Click(editing()); });
    on(mnu3dColor, [this] { mnu3dColor_Click(views()); });
    on(mnuDrawPoly, [this] { mnuDrawPoly_Click(views()); });
    on(mnuDraw3D, [this] { mnuDraw3D_Click(views()); });

    // Browser.
    for (int i = 0; i < 16; ++i) {
        connect(CmdObj[std::size_t(i)], &QPushButton::clicked, this, [this, i] { CmdObj_Click(files(), i); });
        connect(CmdWrk[std::size_t(i)], &QPushButton::clicked, this, [this, i] { CmdWrk_Click(files(), i); });
    }

    // Command box.
    connect(cmdExecute, &QPushButton::clicked, this, [this] { cmdExecute_Click(commands()); });
    connect(lstCommand, &QListWidget::currentRowChanged, this, [this] { lstCommand_Click(commands()); });
    connect(lstCommand, &QListWidget::itemDoubleClicked, this, [this] { lstCommand_DblClick(commands()); });
    lstCommand->installEventFilter(this);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstCommand && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Key codes as the command list's handler knows them: F1 is 112, so F12 is 123;
        // letters and digits keep their codes; other keys are passed as 0, so that no
        // character key can be taken for a function key.
        const int k = key->key();
        const int code = k >= Qt::Key_F1 && k <= Qt::Key_F24 ? 112 + (k - Qt::Key_F1)
            : (k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9) ? k
                                                                                       : 0;
        lstCommand_KeyDown(commands(), code);
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::start()
{
    show();
    setUp();
}

void frmMain::setUp()
{
    setCaption(versionedCaption(appversion::Major, appversion::Minor, appversion::Revision));
    LoadRecentMenu(files());
    state.ProgramFolder = programFolderOverride_.isEmpty() ? QDir::toNativeSeparators(QCoreApplication::applicationDirPath())
                                                           : programFolderOverride_;
    state.ObjectsFolder = state.ProgramFolder + QDir::separator() + QStringLiteral("Objects");
    state.WorkspacesFolder = state.ProgramFolder + QDir::separator() + QStringLiteral("Workspaces");
    state.PointRadius = 20;
    state.pPoints.assign(1, PointRecord{});
    state.DrawMode = 1;
    fleObj.setPath(state.ObjectsFolder);
    state.GridCount = 50;
    picIcon->setPicture(programIcon().pixmap(28, 28));
    fleWork.setPath(state.WorkspacesFolder);
    sstMiscDrawing->setCurrentTab(0);
    sbStatus->setPanelText(3, QStringLiteral("Object Points:"));
    FillObjectButtons(files());
    FillWorkspaceButtons(files());
    state.GridState = 1;
    LayoutGridLines(views());
    lstCommand->addItems(CommandWords());
}
