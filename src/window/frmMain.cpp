// The main window: fixed layout in twips, the menu tree, and the forwarding of every event
// into the session with the showing of its result.
#include "window/frmMain.h"

#include "commands/CommandInterpreter.h"
#include "commands/CommandList.h"
#include "editing/DepthDrag.h"
#include "editing/ObjectMenus.h"
#include "editing/PointPlacement.h"
#include "files/FileCommands.h"
#include "platform/ProgramNames.h"
#include "platform/Twips.h"
#include "views/GridLayout.h"
#include "views/Rendering.h"
#include "window/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <limits>

// The icon lives in the window library's resources. A static library's resources reach a
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

template <class Widget>
Widget* named(Widget* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QString indexed(const char* name, std::size_t i) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i); }

// Qt takes "[*]" in a title for its placeholder of unsaved changes and shows "[*][*]" as one
// "[*]", so doubling each makes a path that holds one show as written.
QString literalTitle(const QString& caption)
{
    return QString(caption).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

// A menu or button caption shows "&" as the mark of a shortcut letter and "&&" as one "&".
QString literalCaption(const QString& text) { return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")); }
} // namespace

frmMain::frmMain(Dialogs& dialogs, MenuPopups& popups, SettingsStore& settings, QString programFolder)
    : core_(dialogs, settings), popups_(popups), programFolderOverride_(std::move(programFolder))
{
    registerResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(programIcon());
    buildControls();
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    core_.popupMenu = [this](float x, float y) { popups_.popupMenu(*mnuPopUp, picFront->twipsToGlobal(x, y)); };
    wireEvents();
    showCore();
}

frmMain::~frmMain()
{
    for (ViewSurface* view : {&core_.picFront, &core_.picSide, &core_.picTop, &core_.pic3dView})
        view->changed = nullptr;
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
    picCommand = named(new PictureBox(client, {45, 5190, 3975, 2130}, panelBack), QStringLiteral("picCommand"));
    picCommand->setPalette(QApplication::palette());
    Label1 = named(new QLabel(QStringLiteral("Click or type in a command, then press the       \"Execute Command\" button"),
                              picCommand),
                   QStringLiteral("Label1"));
    placeTwips(Label1, 0, -15, 3930, 450);
    Label1->setWordWrap(true);
    setColors(Label1, 0x800000, 0xFFFFFF);
    lstCommand = named(new QListWidget(picCommand), QStringLiteral("lstCommand"));
    placeTwips(lstCommand, 45, 780, 3810, 615);
    setColors(lstCommand, ListGrey);
    cmdExecute = named(new QPushButton(QStringLiteral("Execute Command"), picCommand), QStringLiteral("cmdExecute"));
    placeTwips(cmdExecute, 45, 1440, 3810, 285);
    txtCommand = named(new QLineEdit(picCommand), QStringLiteral("txtCommand"));
    placeTwips(txtCommand, 45, 1710, 3810, 285);
    // A pasted line of any length is taken whole; the interpreter checks what it holds.
    txtCommand->setMaxLength(std::numeric_limits<int>::max());

    sstMiscDrawing = named(new TabControl(client, {QStringLiteral("Object List"), QStringLiteral("Workspaces")}, DarkGrey),
                           QStringLiteral("sstMiscDrawing"));
    placeTwips(sstMiscDrawing, 45, 30, 2355, 5130);
    Picture1[1] = named(new PictureBox(sstMiscDrawing->page(1), {75, 375, 2190, 4665}, ViewGrey), indexed("Picture1", 1));
    Picture1[0] = named(new PictureBox(sstMiscDrawing->page(0), {75, 390, 2190, 4665}, ViewGrey), indexed("Picture1", 0));
    for (std::size_t i = 0; i < CmdObj.size(); ++i) {
        CmdWrk[i] = named(new PictureButton(Picture1[1], programIcon()), indexed("CmdWrk", i));
        placeTwips(CmdWrk[i], 15, float(15 + 285 * i), 2085, 285);
        CmdObj[i] = named(new PictureButton(sstMiscDrawing->page(0), programIcon()), indexed("CmdObj", i));
        placeTwips(CmdObj[i], 135, float(435 + 285 * i), 2085, 285);
    }

    picContainer = named(new PictureBox(client, Session::ContainerPlace, panelBack), QStringLiteral("picContainer"));
    picContainer->setPalette(QApplication::palette());
    // The program's icon stands to the left of the views' container, level with its top.
    constexpr float IconWidth = 300;
    picIcon = named(new PictureBox(client, {picContainer->Left() - IconWidth, picContainer->Top(), IconWidth, 225}, ViewGrey),
                    QStringLiteral("picIcon"));
    const auto drawWaiting = [this] { core_.drawWaitingPictures(); };
    pic3dView = named(new PictureBox(picContainer, core_.pic3dView, drawWaiting), QStringLiteral("pic3dView"));
    picTop = named(new PictureBox(picContainer, core_.picTop, drawWaiting), QStringLiteral("picTop"));
    picFront = named(new PictureBox(picContainer, core_.picFront, drawWaiting), QStringLiteral("picFront"));
    picSide = named(new PictureBox(picContainer, core_.picSide, drawWaiting), QStringLiteral("picSide"));

    txtDepth = named(new QLineEdit(client), QStringLiteral("txtDepth"));
    placeTwips(txtDepth, 1440, 750, 960, 270);
    setColors(txtDepth, ListGrey);
    txtDepth->raise();

    sbStatus = named(new StatusBar(this), QStringLiteral("sbStatus"));
    setStatusBar(sbStatus);
}

void frmMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto menu = [](auto* parent, const char* name, const char* caption) {
        return named(parent->addMenu(QString::fromLatin1(caption)), QString::fromLatin1(name));
    };
    auto item = [](QMenu* parent, const QString& name, const char* caption) {
        return named(parent->addAction(QString::fromLatin1(caption)), name);
    };

    mnuFile = menu(bar, "mnuFile", "File");
    mnuOpen = item(mnuFile, QStringLiteral("mnuOpen"), "Open Object");
    mnuSave = item(mnuFile, QStringLiteral("mnuSave"), "Save Object");
    mnuOpenWork = item(mnuFile, QStringLiteral("mnuOpenWork"), "Open Workspace");
    mnuSaveWork = item(mnuFile, QStringLiteral("mnuSaveWork"), "Save Workspace");
    mnuClear = item(mnuFile, QStringLiteral("mnuClear"), "Clear");
    mnuSeperator[1] = named(mnuFile->addSeparator(), indexed("mnuSeperator", 1));
    mnuRecentHead = menu(mnuFile, "mnuRecentHead", "Recent Files");
    for (std::size_t i = 0; i < mnuRecent.size(); ++i)
        mnuRecent[i] = item(mnuRecentHead, indexed("mnuRecent", i), "recent");

    mnuEdit = menu(bar, "mnuEdit", "Edit");
    mnuExtrude = item(mnuEdit, QStringLiteral("mnuExtrude"), "Extrude Object");
    mnuCommand = menu(mnuEdit, "mnuCommand", "Command Box");
    mnuComm[0] = item(mnuCommand, indexed("mnuComm", 0), "Show Command Box");
    mnuComm[1] = item(mnuCommand, indexed("mnuComm", 1), "Hide Command Box");
    mnuDraw = menu(mnuEdit, "mnuDraw", "Drawing Style");
    const char* styles[] = {"Straight Lines", "Smooth Lines", "Complex Lines", "Current Lines"};
    for (std::size_t i = 0; i < mnuStyle.size(); ++i) {
        mnuStyle[i] = item(mnuDraw, indexed("mnuStyle", i), styles[i]);
        mnuStyle[i]->setCheckable(true);
    }
    mnuStyle[1]->setEnabled(false);
    mnuStyle[2]->setEnabled(false);

    mnuObj = menu(bar, "mnuObj", "Objects");
    mnuPointobj = item(mnuObj, QStringLiteral("mnuPointobj"), "Point Object");

    mnuGrdConfig = menu(bar, "mnuGrdConfig", "Grid Configuration");
    mnuRadius = item(mnuGrdConfig, QStringLiteral("mnuRadius"), "Point Radius");
    mnuGsize = menu(mnuGrdConfig, "mnuGsize", "Grid Size");
    const char* sizes[] = {"Small", "Medium", "Large", "Extra Large"};
    for (std::size_t i = 0; i < mnuGridsize.size(); ++i)
        mnuGridsize[i] = item(mnuGsize, indexed("mnuGridsize", i), sizes[i]);
    mnuBgColor = item(mnuGrdConfig, QStringLiteral("mnuBgColor"), "BackGround Color");
    mnuObjColor = item(mnuGrdConfig, QStringLiteral("mnuObjColor"), "Object Color");
    mnuGrdColor = item(mnuGrdConfig, QStringLiteral("mnuGrdColor"), "Line Color");
    mnuLines = menu(mnuGrdConfig, "mnuLines", "Lines");
    mnuLneOn = item(mnuLines, QStringLiteral("mnuLneOn"), "On");
    mnuLneOff = item(mnuLines, QStringLiteral("mnuLneOff"), "Off");
    mnuWidth = item(mnuLines, QStringLiteral("mnuWidth"), "Line Width");

    mnuTools = menu(bar, "mnuTools", "ToolBar");
    mnuTools->menuAction()->setVisible(false);

    mnuRender = menu(bar, "mnuRender", "Render Window");
    mnu3dColor = item(mnuRender, QStringLiteral("mnu3dColor"), "Object Color");

    mnuPopUp = menu(bar, "mnuPopUp", "Draw Polygon");
    mnuDrawPoly = item(mnuPopUp, QStringLiteral("mnuDrawPoly"), "Draw 2D");
    mnuDraw3D = item(mnuPopUp, QStringLiteral("mnuDraw3D"), "Draw 3D");
}

void frmMain::forward(const std::function<void()>& handler)
{
    handler();
    showCore();
}

void frmMain::on(QAction* action, std::function<void()> handler)
{
    connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] { forward(handler); });
}

void frmMain::wireEvents()
{
    Session& s = core_;
    using std::placeholders::_1;
    const auto mouse = [this](void (*handler)(EditingContext&, int, int, float, float)) {
        return [this, handler](int b, int shift, float x, float y) {
            forward([&] { handler(core_.editing, b, shift, x, y); });
        };
    };

    // Views.
    picFront->MouseMove = mouse(picFront_MouseMove);
    picFront->MouseUp = mouse(picFront_MouseUp);
    picFront->Click = [this] { forward([this] { picFront_Click(core_.editing); }); };
    picSide->MouseDown = mouse(picSide_MouseDown);
    picSide->MouseMove = mouse(picSide_MouseMove);
    picSide->MouseUp = mouse(picSide_MouseUp);
    picTop->MouseMove = mouse(picTop_MouseMove);
    pic3dView->MouseMove = mouse(pic3dView_MouseMove);
    picContainer->MouseMove = mouse(picContainer_MouseMove);

    // File menu.
    on(mnuOpen, [&s] { mnuOpen_Click(s.files); });
    on(mnuSave, [&s] { mnuSave_Click(s.files); });
    on(mnuOpenWork, [&s] { mnuOpenWork_Click(s.files); });
    on(mnuSaveWork, [&s] { mnuSaveWork_Click(s.files); });
    on(mnuClear, [&s] { mnuClear_Click(s.editing); });
    for (int i = 0; i < int(mnuRecent.size()); ++i)
        on(mnuRecent[std::size_t(i)], [&s, i] { mnuRecent_Click(s.files, i); });

    // Edit menu.
    on(mnuExtrude, [&s] { mnuExtrude_Click(s.editing); });
    for (int i = 0; i < int(mnuComm.size()); ++i)
        on(mnuComm[std::size_t(i)], [&s, i] { mnuComm_Click(s.commands, i); });
    for (int i = 0; i < int(mnuStyle.size()); ++i)
        on(mnuStyle[std::size_t(i)], [&s, i] { mnuStyle_Click(s.editing, i); });

    // Objects and Grid Configuration menus.
    on(mnuPointobj, [&s] { mnuPointobj_Click(s.editing); });
    on(mnuRadius, [&s] { mnuRadius_Click(s.editing); });
    for (int i = 0; i < int(mnuGridsize.size()); ++i)
        on(mnuGridsize[std::size_t(i)], [&s, i] { mnuGridsize_Click(s.views, i); });
    on(mnuBgColor, [&s] { mnuBgColor_Click(s.views); });
    on(mnuObjColor, [&s] { mnuObjColor_Click(s.views); });
    on(mnuGrdColor, [&s] { mnuGrdColor_Click(s.views); });
    on(mnuLneOn, [&s] { mnuLneOn_Click(s.views); });
    on(mnuLneOff, [&s] { mnuLneOff_Click(s.views); });
    on(mnuWidth, [&s] { mnuWidth_Click(s.editing); });
    on(mnu3dColor, [&s] { mnu3dColor_Click(s.views); });
    on(mnuDrawPoly, [&s] { mnuDrawPoly_Click(s.views); });
    on(mnuDraw3D, [&s] { mnuDraw3D_Click(s.views); });

    // Browser.
    for (int i = 0; i < BrowserButtonCount; ++i) {
        connect(CmdObj[std::size_t(i)], &QPushButton::clicked, this, [this, &s, i] { forward([&s, i] { CmdObj_Click(s.files, i); }); });
        connect(CmdWrk[std::size_t(i)], &QPushButton::clicked, this, [this, &s, i] { forward([&s, i] { CmdWrk_Click(s.files, i); }); });
    }

    // Command box: an answer replaces the box's text.
    connect(cmdExecute, &QPushButton::clicked, this, [this, &s] {
        forward([this, &s] {
            if (const CommandResult result = cmdExecute_Click(s.commands, txtCommand->text()); result.answer)
                txtCommand->setText(*result.answer);
        });
    });
    connect(lstCommand, &QListWidget::currentRowChanged, this,
            [this, &s](int row) { forward([&s, row] { lstCommand_Click(s.commands, row); }); });
    connect(lstCommand, &QListWidget::itemDoubleClicked, this, [this, &s](QListWidgetItem* item) {
        forward([this, &s, item] {
            if (const std::optional<QString> word = lstCommand_DblClick(s.commands, lstCommand->row(item)))
                txtCommand->setText(*word);
        });
    });
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
        forward([this, code] { lstCommand_KeyDown(core_.commands, code); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::showCore()
{
    const Session& s = core_;
    setWindowTitle(literalTitle(s.caption));
    for (StatusPanel panel : {StatusPanel::ObjectPoints, StatusPanel::ViewName, StatusPanel::Position,
                              StatusPanel::LastObject, StatusPanel::SavedPath})
        sbStatus->setPanelText(int(panel), s.sbStatus.text(panel));
    // The depth box shows what the program last wrote; what the user types stays until then.
    if (s.txtDepth.Text != shownDepth_) {
        shownDepth_ = s.txtDepth.Text;
        txtDepth->setText(shownDepth_);
    }
    for (std::size_t i = 0; i < mnuStyle.size(); ++i)
        mnuStyle[i]->setChecked(s.mnuStyle[i].Checked);
    for (std::size_t i = 0; i < mnuRecent.size(); ++i) {
        if (s.mnuRecent[i].Visible)
            mnuRecent[i]->setText(literalCaption(s.mnuRecent[i].Caption));
        mnuRecent[i]->setVisible(s.mnuRecent[i].Visible);
    }
    const auto showButtons = [](const BrowserButtons& data, std::array<PictureButton*, BrowserButtonCount>& buttons) {
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            buttons[i]->setText(literalCaption(data[i].Caption));
            buttons[i]->setBackColor(data[i].BackColor);
            buttons[i]->setVisible(data[i].Visible);
        }
    };
    showButtons(s.CmdObj, CmdObj);
    showButtons(s.CmdWrk, CmdWrk);
    picCommand->setVisible(s.picCommandVisible);
    if (lstCommand->count() != s.lstCommand.size()) {
        lstCommand->clear();
        lstCommand->addItems(s.lstCommand);
    }
}

void frmMain::start()
{
    show();
    core_.setUp(programFolderOverride_.isEmpty() ? QDir::toNativeSeparators(QCoreApplication::applicationDirPath())
                                                 : programFolderOverride_);
    picIcon->setPicture(programIcon().pixmap(28, 28));
    sstMiscDrawing->setCurrentTab(0);
    showCore();
}

void frmMain::openArguments(const QStringList& files)
{
    if (files.isEmpty())
        return;
    if (files.size() > 1)
        qWarning("%s: one file opens at a time; not opened: %s", qPrintable(ProgramName), qPrintable(files.mid(1).join(QStringLiteral(", "))));
    forward([this, &files] { OpenNamedFile(core_.files, files.first()); });
}
