// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: owns every control and wires them to the application's data components.
// Each handler is short and calls into the folder that owns the behaviour.

#include <QKeySequence>
#include <QPoint>
#include <QWidget>
#include <memory>
#include <optional>

#include "app/hover_skin.h"
#include "desktop/desktop.h"
#include "store/character_store.h"

namespace qir::animation {
class MediaPlayer;
}
namespace qir::strokes {
class RecordGrid;
}
namespace qir::selection {
class CatalogueTree;
class CharacterSelection;
class HanziEdit;
}  // namespace qir::selection

namespace qir::app {
class Application;
class Bevel;
class FindByDrawing;
class LinkLabel;
class Panel;
class PracticeSheetActions;
class Picture;
class Shape;
class WindowRoute;
}  // namespace qir::app

namespace qir {

// The address that the link shows and opens.
inline const QString kWebAddress = QStringLiteral("https://qir.example.org/");
inline const QString kWebAddressText = QStringLiteral("qir.example.org");

namespace app {
// The skin buttons' keys.
inline const QKeySequence kHelpKey{Qt::Key_F1};
inline const QKeySequence kPreviousKey{Qt::ALT | Qt::Key_Left};
inline const QKeySequence kNextKey{Qt::ALT | Qt::Key_Right};
inline const QKeySequence kExitKey{Qt::CTRL | Qt::Key_Q};
inline const QKeySequence kMinimiseKey{Qt::CTRL | Qt::Key_M};
}  // namespace app

class TForm1 : public QWidget {
    Q_OBJECT
  public:
    // A store that cannot be connected is an error that ends start-up.
    explicit TForm1(app::Application& application, QWidget* parent = nullptr);
    ~TForm1() override;

    const app::HotFlags& hotFlags() const { return hover_.flags(); }
    app::PracticeSheetActions& practiceSheetActions() { return *sheetActions_; }
    app::FindByDrawing& findByDrawing() { return *findByDrawing_; }
    const std::string& CurrentHanzi() const;

    // The running instance's answer to a later start.
    void ActivateInstance();
    // The most recently active window of ours: a message box open above the main window, or
    // the main window itself.
    QWidget* windowToBringForward();

  signals:
    // Once, when the window's first paint is done: work that would only slow the window down
    // while it comes up starts here.
    void firstPainted();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // Reads the table pages every character scans while the window waits for its user.
    void readAhead();
    // Starts deriving the tables' keys, once: after the window's first paint, or at the first
    // character chosen sooner.
    void deriveKeysAhead();
    void afterFirstPaint();
    void createControls();
    void setTabOrder();
    void connectHandlers();

    void FormCreate();
    void FormShow();

    void TreeView1Click();
    void Edit1Change();
    void ImagenextClick();
    void ImageprevClick();

    void ImageexitMouseMove();
    void ImageminiMouseMove();
    void ImagehelpMouseMove();
    void ImagenextMouseMove();
    void ImageprevMouseMove();
    void Panel4MouseMove();
    void Panel5MouseMove();
    void Panel7MouseMove();
    void Panel10MouseMove();
    void ImageexitClick();
    void ImageminiClick();
    void ImagehelpClick();
    void Label2Click();
    void createSelection(app::Application& application);
    // The practice sheet: the context menu of the animation and the grid, and Ctrl+P.
    void createPracticeSheetActions();
    // The characters of the catalogue group that holds `hanzi` (GB2312), in order.
    QString catalogueGroupOf(const std::string& hanzi) const;
    void createShortcuts();
    void nameControls();
    // The menu of the catalogue's character at `at` (viewport coordinates); none elsewhere.
    void catalogueContextMenu(const QPoint& at);

    // Runs a handler inside the one error boundary.
    template <typename Handler>
    void handle(Handler&& handler);
    void showSkinPicture(app::HoverButton button, QImage picture);

    Desktop& desktop_;
    store::CharacterStore& store_;
    // The way a chosen character goes through the store and the window's parts.
    std::unique_ptr<app::WindowRoute> route_;
    // The current and previous character, and the sequences that show a character.
    selection::CharacterSelection* selection_ = nullptr;
    app::HoverSkin hover_;
    app::PracticeSheetActions* sheetActions_ = nullptr;
    app::FindByDrawing* findByDrawing_ = nullptr;
    bool shown_ = false;
    bool keysDerivedAhead_ = false;
    // Set while the window is moved by hand, where no window manager moves it.
    std::optional<QPoint> dragOffset_;

    app::Picture* Image1 = nullptr;
    app::Bevel* Bevel1 = nullptr;
    app::Panel* Panel3 = nullptr;
    app::LinkLabel* Label2 = nullptr;
    app::Panel* Panel4 = nullptr;
    app::Picture* Imageexit = nullptr;
    app::Panel* Panel5 = nullptr;
    app::Picture* Imagemini = nullptr;
    app::Panel* Panel6 = nullptr;
    selection::CatalogueTree* TreeView1 = nullptr;
    app::Panel* Panel8 = nullptr;
    app::Bevel* Bevel2 = nullptr;
    app::Shape* Shape2 = nullptr;
    strokes::RecordGrid* DBCtrlGrid1 = nullptr;
    QWidget* Panelavi = nullptr;
    selection::HanziEdit* Edit1 = nullptr;
    app::Panel* Panel7 = nullptr;
    app::Picture* Imagehelp = nullptr;
    animation::MediaPlayer* MediaPlayer1 = nullptr;
    app::Panel* Panel10 = nullptr;
    app::Picture* Imagenext = nullptr;
    app::Picture* Imageprev = nullptr;
};

}  // namespace qir
