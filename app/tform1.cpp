// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tform1.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include "animation/media_player.h"
#include "app/accessibility.h"
#include "app/application.h"
#include "app/find_by_drawing.h"
#include "app/panel.h"
#include "app/password_dialog.h"
#include "app/picture.h"
#include "app/practice_sheet_actions.h"
#include "app/sharp_picture.h"
#include "app/window_look.h"
#include "app/window_route.h"
#include "desktop/error_guard.h"
#include "desktop/window_activation.h"
#include "handwriting_pad/handwriting_pad.h"
#include "platform/gb2312.h"
#include "selection/catalogue_tree.h"
#include "selection/character_selection.h"
#include "selection/hanzi_edit.h"
#include "store/dataset.h"
#include "store/table_file.h"
#include "strokes/record_grid.h"
#include "translations/translations.h"

// The pictures live in a static library, whose resource initialiser the linker would drop.
static void initialiseEmbeddedPictures() {
    Q_INIT_RESOURCE(resources);
}

namespace qir {
namespace {

// After the window is shown: its first paint, and the first keys of a quick user, come first.
constexpr int kReadAheadDelayMs = 1000;

const QColor kSkinBlue(0x70, 0x98, 0xC0);
const QColor kWorkAreaGrey(0xDC, 0xE4, 0xE0);

// Drawn at the screen's device pixel ratio, from the picture's double-size twin where the
// screen has more device pixels than logical ones.
QImage embedded(const char* name) {
    const qreal ratio = qApp != nullptr ? qApp->devicePixelRatio() : 1.0;
    return app::embeddedPicture(QStringLiteral(":/assets/") + name, ratio);
}

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

app::Picture* imageButton(QWidget* parent, const char* name, const QRect& geometry,
                          const char* picture, const QString& hint) {
    auto* button = named(new app::Picture(parent, geometry, embedded(picture)), name);
    button->setCursor(Qt::PointingHandCursor);
    button->setToolTip(hint);
    return button;
}

app::Panel* skinPanel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* panel = named(new app::Panel(parent, geometry), name);
    panel->setColor(kSkinBlue);
    return panel;
}

}  // namespace

TForm1::TForm1(app::Application& application, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      desktop_(application.desktop()),
      store_(application.store()),
      hover_([this](app::HoverButton button, QImage picture) {
          showSkinPicture(button, std::move(picture));
      }) {
    initialiseEmbeddedPictures();
    app::installAccessibility();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kApplicationTitle);
    setWindowIcon(QIcon(QStringLiteral(":/assets/icon.png")));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(640, 480);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(placeInside(screen->availableGeometry(), size()));
    }

    createControls();
    setTabOrder();
    createSelection(application);
    connectHandlers();
    createPracticeSheetActions();
    createShortcuts();
    nameControls();
    app::keepOwnLook(*this);
    hover_.setDevicePixelRatio(devicePixelRatioF());
    connect(&application.instanceChannel(), &InstanceChannel::activationRequested, this,
            &TForm1::ActivateInstance);

    store_.connect();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::createControls() {
    Image1 = named(new app::Picture(this, rect(), embedded("background.jpg")), "Image1");
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Bevel1 =
        named(new app::Bevel(this, {-1, 56, 644, 1}, app::Bevel::Kind::RaisedTopLine), "Bevel1");

    Panel3 = named(new app::Panel(this, {533, 5, 101, 20}), "Panel3");
    Panel3->setColor(kSkinBlue);
    Panel3->setBevels(app::BevelCut::Raised, app::BevelCut::Lowered);
    Label2 = named(new app::LinkLabel(Panel3, {7, 3}, kWebAddressText), "Label2");
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->setToolTip(QStringLiteral("Visit Qir Demonstration of stroke order's web site"));

    Panel4 = skinPanel(this, "Panel4", {543, 58, 69, 42});
    Imageexit = imageButton(Panel4, "Imageexit", {16, 7, 37, 17}, "exit.bmp",
                            QStringLiteral("Exit from QIR Demonstration of stroke order"));
    Panel5 = skinPanel(this, "Panel5", {610, 58, 29, 34});
    Imagemini = imageButton(Panel5, "Imagemini", {1, 12, 29, 15}, "mini.bmp",
                            QStringLiteral("Minimize window"));

    Panel6 = named(new app::Panel(this, {32, 89, 579, 345}), "Panel6");
    Panel6->setClientEdge();
    auto* workArea = static_cast<app::Panel*>(Panel6->client());
    workArea->setColor(kWorkAreaGrey);
    workArea->setBevels(app::BevelCut::Raised, app::BevelCut::None);

    TreeView1 = named(new selection::CatalogueTree(workArea), "TreeView1");
    TreeView1->setGeometry(-2, 23, 114, 317);
    TreeView1->setNodeImages({QIcon(QStringLiteral(":/assets/nodes/0.png")),
                              QIcon(QStringLiteral(":/assets/nodes/1.png")),
                              QIcon(QStringLiteral(":/assets/nodes/2.png")),
                              QIcon(QStringLiteral(":/assets/nodes/3.png"))});

    Panel8 = named(new app::Panel(workArea, {124, 3, 446, 333}), "Panel8");
    Panel8->setColor(kWorkAreaGrey);
    Panel8->setBevels(app::BevelCut::Raised, app::BevelCut::Lowered);
    Bevel2 =
        named(new app::Bevel(Panel8, {1, 160, 444, 2}, app::Bevel::Kind::LoweredBox), "Bevel2");
    Shape2 = named(new app::Shape(Panel8, {136, 5, 154, 128}), "Shape2");
    DBCtrlGrid1 = named(new strokes::RecordGrid(Panel8), "DBCtrlGrid1");
    DBCtrlGrid1->move(2, 161);
    DBCtrlGrid1->setDesktop(&desktop_);
    DBCtrlGrid1->setDataSet(&store_.strokeDisplayTable());
    // White like the frame around it, until a clip covers it.
    auto* videoPanel = named(new app::Panel(Panel8, {137, 6, 152, 124}), "Panelavi");
    videoPanel->setColor(Qt::white);
    Panelavi = videoPanel;

    Edit1 = named(new selection::HanziEdit(desktop_, workArea), "Edit1");
    Edit1->setGeometry(0, 0, 109, 23);

    Panel7 = skinPanel(this, "Panel7", {33, 435, 60, 30});
    Imagehelp = imageButton(Panel7, "Imagehelp", {12, 5, 37, 20}, "help.bmp",
                            QStringLiteral("Help of QIR Demonstration of stroke order"));

    MediaPlayer1 = named(new animation::MediaPlayer(desktop_, this), "MediaPlayer1");
    MediaPlayer1->setGeometry(272, 229, 197, 21);
    MediaPlayer1->setDisplay(Panelavi);
    MediaPlayer1->setFileName("temp.avi");

    Panel10 = skinPanel(this, "Panel10", {612, 240, 27, 70});
    Imagenext = imageButton(Panel10, "Imagenext", {-1, 14, 29, 15}, "next.bmp",
                            QStringLiteral("Next character"));
    Imageprev = imageButton(Panel10, "Imageprev", {-4, 38, 32, 17}, "prev.bmp",
                            QStringLiteral("Last character"));
}

void TForm1::setTabOrder() {
    // Within the work area: catalogue, grid, input box; then the player bar.
    for (QWidget* widget : {static_cast<QWidget*>(TreeView1), static_cast<QWidget*>(DBCtrlGrid1),
                            static_cast<QWidget*>(Edit1), static_cast<QWidget*>(MediaPlayer1)}) {
        widget->setAttribute(Qt::WA_NoMousePropagation);
    }
    QWidget::setTabOrder(TreeView1, DBCtrlGrid1);
    QWidget::setTabOrder(DBCtrlGrid1, Edit1);
    QWidget::setTabOrder(Edit1, MediaPlayer1);
}

void TForm1::connectHandlers() {
    connect(Imageexit, &app::Picture::mouseMoved, this, &TForm1::ImageexitMouseMove);
    connect(Imagemini, &app::Picture::mouseMoved, this, &TForm1::ImageminiMouseMove);
    connect(Imagehelp, &app::Picture::mouseMoved, this, &TForm1::ImagehelpMouseMove);
    connect(Imagenext, &app::Picture::mouseMoved, this, &TForm1::ImagenextMouseMove);
    connect(Imageprev, &app::Picture::mouseMoved, this, &TForm1::ImageprevMouseMove);
    connect(Panel4, &app::Panel::mouseMoved, this, &TForm1::Panel4MouseMove);
    connect(Panel5, &app::Panel::mouseMoved, this, &TForm1::Panel5MouseMove);
    connect(Panel7, &app::Panel::mouseMoved, this, &TForm1::Panel7MouseMove);
    connect(Panel10, &app::Panel::mouseMoved, this, &TForm1::Panel10MouseMove);
    connect(Imageexit, &app::Picture::clicked, this, &TForm1::ImageexitClick);
    connect(Imagemini, &app::Picture::clicked, this, &TForm1::ImageminiClick);
    connect(Imagehelp, &app::Picture::clicked, this, &TForm1::ImagehelpClick);
    connect(Label2, &app::LinkLabel::clicked, this, &TForm1::Label2Click);
    connect(Imagenext, &app::Picture::clicked, this, &TForm1::ImagenextClick);
    connect(Imageprev, &app::Picture::clicked, this, &TForm1::ImageprevClick);
    connect(TreeView1, &selection::CatalogueTree::clickedInTree, this, &TForm1::TreeView1Click);
    connect(TreeView1, &selection::CatalogueTree::characterChosenByKey, this,
            &TForm1::TreeView1Click);
    connect(Edit1, &QLineEdit::textChanged, this, &TForm1::Edit1Change);
}

void TForm1::createSelection(app::Application& application) {
    route_ = std::make_unique<app::WindowRoute>(store_, *MediaPlayer1, *this);
    selection_ = &application.createSelection(*route_);
}

void TForm1::createPracticeSheetActions() {
    sheetActions_ = new app::PracticeSheetActions(
        this, desktop_, [this] { return CurrentHanzi(); }, [this] { return store_.folder(); },
        app::systemSheetDialogs());
    for (QWidget* widget : {Panelavi, static_cast<QWidget*>(DBCtrlGrid1)}) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget, &QWidget::customContextMenuRequested, sheetActions_,
                [this, widget](const QPoint& at) { sheetActions_->popUpContextMenu(widget, at); });
    }
    auto* print = new QShortcut(QKeySequence::Print, this);
    connect(print, &QShortcut::activated, sheetActions_, &app::PracticeSheetActions::print);
    auto* write = new QShortcut(app::kWriteItYourselfKey, this);
    connect(write, &QShortcut::activated, sheetActions_,
            &app::PracticeSheetActions::writeItYourself);
    sheetActions_->setCatalogueGroups(
        [this](const std::string& hanzi) { return catalogueGroupOf(hanzi); });
    // The handwriting pad: a shortcut, and an entry in the input box's and the catalogue's menus.
    findByDrawing_ = new app::FindByDrawing(this, *Edit1, [this] { return store_.folder(); });
    auto* draw = new QShortcut(handwriting_pad::kFindByDrawingKey, this);
    connect(draw, &QShortcut::activated, findByDrawing_, &app::FindByDrawing::open);
    Edit1->setMenuExtension([this](QMenu& menu) { findByDrawing_->addMenuEntry(menu); });
    // A character of the catalogue has the same menu, with "Show" doing what a click does.
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeView1, &QWidget::customContextMenuRequested, sheetActions_,
            [this](const QPoint& at) { catalogueContextMenu(at); });
}

QString TForm1::catalogueGroupOf(const std::string& hanzi) const {
    for (int group = 0; group < TreeView1->topLevelItemCount(); ++group) {
        const QTreeWidgetItem* label = TreeView1->topLevelItem(group);
        QString characters;
        bool holds = false;
        for (int i = 0; i < label->childCount(); ++i) {
            const auto* node = dynamic_cast<const selection::CatalogueNode*>(label->child(i));
            if (node == nullptr) {
                continue;
            }
            const std::string_view bytes = gb2312::trimmed(node->bytes());
            holds = holds || bytes == hanzi;
            characters += gb2312::toUnicode(bytes);
        }
        if (holds) {
            return characters;
        }
    }
    return {};
}

// Keys for the skin buttons, none of them a key the grid, the player bar or the input box
// handles. Each works wherever the focus is in the window.
void TForm1::createShortcuts() {
    const struct {
        QKeySequence key;
        void (TForm1::*click)();
    } shortcuts[] = {
        {app::kHelpKey, &TForm1::ImagehelpClick},     {app::kPreviousKey, &TForm1::ImageprevClick},
        {app::kNextKey, &TForm1::ImagenextClick},     {app::kExitKey, &TForm1::ImageexitClick},
        {app::kMinimiseKey, &TForm1::ImageminiClick},
    };
    for (const auto& shortcut : shortcuts) {
        auto* action = new QShortcut(shortcut.key, this);
        connect(action, &QShortcut::activated, this, shortcut.click);
    }
}

// What assistive technology announces for each control; a button's description names its key.
void TForm1::nameControls() {
    const auto button = [](QWidget* widget, const QString& name, const QKeySequence& key) {
        widget->setAccessibleName(name);
        widget->setAccessibleDescription(
            tr("%1 (shortcut: %2)").arg(widget->toolTip(), key.toString(QKeySequence::NativeText)));
    };
    button(Imageexit, tr("Exit"), app::kExitKey);
    button(Imagemini, tr("Minimise"), app::kMinimiseKey);
    button(Imagehelp, tr("Help"), app::kHelpKey);
    button(Imagenext, tr("Next character"), app::kNextKey);
    button(Imageprev, tr("Previous character"), app::kPreviousKey);
    Label2->setAccessibleName(kWebAddressText);
    Label2->setAccessibleDescription(Label2->toolTip());
    Edit1->setAccessibleName(tr("Input character"));
    TreeView1->setAccessibleName(tr("Characters by number of strokes"));
    Panelavi->setAccessibleName(tr("Animation"));
}

void TForm1::catalogueContextMenu(const QPoint& at) {
    auto* node = dynamic_cast<selection::CatalogueNode*>(TreeView1->itemAt(at));
    if (node == nullptr || node->childCount() != 0 || !gb2312::isHanzi(node->bytes())) {
        // A group label or empty space: only the way to find a character by drawing it.
        auto* menu = new QMenu(TreeView1);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        findByDrawing_->addMenuEntry(*menu);
        menu->popup(TreeView1->viewport()->mapToGlobal(at));
        return;
    }
    const auto show = [this, node] {
        TreeView1->setCurrentItem(node);
        TreeView1Click();
    };
    QMenu* menu = sheetActions_->createCharacterMenu(TreeView1, node->bytes(), show);
    menu->addSeparator();
    findByDrawing_->addMenuEntry(*menu);
    menu->popup(TreeView1->viewport()->mapToGlobal(at));
}

const std::string& TForm1::CurrentHanzi() const {
    return selection_->CurrentHanzi();
}

template <typename Handler>
void TForm1::handle(Handler&& handler) {
    guarded(desktop_, std::forward<Handler>(handler));
}

void TForm1::FormCreate() {
    store_.addPassword(store::kStorePassword);
    store_.setPasswordPrompt(app::passwordDialog(this));
    hover_.clearFlags();
    selection_->FormCreate();
    Edit1->clear();
}

void TForm1::FormShow() {
    Edit1->setFocus();
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
        // The key derivations (and the clip module's loading, main.cpp) take both cores for a
        // while: they wait for the first paint.
        if (QWindow* window = windowHandle()) {
            window->installEventFilter(this);
        }
        // Once the window is up, the table pages every character scans are read while nobody
        // waits; a character chosen sooner reads them itself.
        QTimer::singleShot(kReadAheadDelayMs, this, [this] { readAhead(); });
    }
}

// The window paints while it handles its first exposure; what is queued then runs after it.
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == windowHandle()) {
        watched->removeEventFilter(this);
        QMetaObject::invokeMethod(this, &TForm1::afterFirstPaint, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::afterFirstPaint() {
    deriveKeysAhead();
    emit firstPainted();
}

void TForm1::deriveKeysAhead() {
    if (!keysDerivedAhead_) {
        keysDerivedAhead_ = true;
        store_.deriveKeysAhead();
    }
}

// One piece at a time, so that a key or a click waits a few milliseconds at most.
void TForm1::readAhead() {
    if (store_.readAheadStep()) {
        QTimer::singleShot(0, this, [this] { readAhead(); });
    }
}

void TForm1::ActivateInstance() {
    if (isMinimized()) {
        showNormal();
        activateWindow();
        return;
    }
    QWidget* popup = windowToBringForward();
    if (popup->isVisible() && popup->isEnabled()) {
        popup->raise();
        popup->activateWindow();
    }
}

QWidget* TForm1::windowToBringForward() {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : this;
}

void TForm1::showSkinPicture(app::HoverButton button, QImage picture) {
    app::Picture* target = nullptr;
    switch (button) {
        case app::HoverButton::Exit:
            target = Imageexit;
            break;
        case app::HoverButton::Mini:
            target = Imagemini;
            break;
        case app::HoverButton::Help:
            target = Imagehelp;
            break;
        case app::HoverButton::Next:
            target = Imagenext;
            break;
        case app::HoverButton::Prev:
            target = Imageprev;
            break;
    }
    target->setPicture(std::move(picture));
}

void TForm1::ImageexitMouseMove() {
    handle([this] { hover_.pointerOverPicture(app::HoverButton::Exit); });
}
void TForm1::ImageminiMouseMove() {
    handle([this] { hover_.pointerOverPicture(app::HoverButton::Mini); });
}
void TForm1::ImagehelpMouseMove() {
    handle([this] { hover_.pointerOverPicture(app::HoverButton::Help); });
}
void TForm1::ImagenextMouseMove() {
    handle([this] { hover_.pointerOverPicture(app::HoverButton::Next); });
}
void TForm1::ImageprevMouseMove() {
    handle([this] { hover_.pointerOverPicture(app::HoverButton::Prev); });
}
void TForm1::Panel4MouseMove() {
    handle([this] { hover_.pointerOverPanel(app::HoverPanel::Panel4); });
}
void TForm1::Panel5MouseMove() {
    handle([this] { hover_.pointerOverPanel(app::HoverPanel::Panel5); });
}
void TForm1::Panel7MouseMove() {
    handle([this] { hover_.pointerOverPanel(app::HoverPanel::Panel7); });
}
void TForm1::Panel10MouseMove() {
    handle([this] { hover_.pointerOverPanel(app::HoverPanel::Panel10); });
}

void TForm1::ImageexitClick() {
    close();
}
void TForm1::ImageminiClick() {
    showMinimized();
}
void TForm1::TreeView1Click() {
    deriveKeysAhead();
    handle([this] { selection_->TreeView1Click(TreeView1->selectedNodeText()); });
}
void TForm1::Edit1Change() {
    deriveKeysAhead();
    handle([this] { selection_->Edit1Change(Edit1->bytes()); });
}
void TForm1::ImagenextClick() {
    deriveKeysAhead();
    handle([this] { selection_->ImagenextClick(); });
}
void TForm1::ImageprevClick() {
    deriveKeysAhead();
    handle([this] { selection_->ImageprevClick(); });
}
void TForm1::ImagehelpClick() {
    // A Chinese reader gets the page in Chinese, where the working folder has it.
    desktop_.openDocument(translations::helpPage(
        QLocale(), [](const QString& page) { return QFileInfo::exists(page); }));
}
void TForm1::Label2Click() {
    desktop_.openDocument(kWebAddress);
}

// Dragging the window's own surface moves the window, as a title bar would.
void TForm1::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    event->accept();
    QWindow* window = windowHandle();
    if (window != nullptr && window->startSystemMove()) {
        return;
    }
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *dragOffset_);
        event->accept();
    }
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragOffset_.reset();
    }
}

}  // namespace qir
