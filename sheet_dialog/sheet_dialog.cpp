// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_dialog/sheet_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "sheet/sheet_characters.h"

namespace qir::sheet_dialog {
namespace {

// More than the first page ever holds: the preview paints these alone.
constexpr int kPreviewCharacters = 8;
// Typing a character does not repaint the preview at every key.
constexpr int kPreviewDelayMs = 60;

QLabel* reasonLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(176, 0, 32));
    label->setPalette(palette);
    label->hide();
    return label;
}

// A field's label whose mnemonic moves the keyboard to `buddy`.
QLabel* labelFor(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

void showReason(QLabel* label, const QString& reason) {
    label->setText(reason);
    label->setVisible(!reason.isEmpty());
}

// "16", "16 mm", "20 mm (young children)", "16,5": the number in front.
std::optional<double> millimetres(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*([0-9]+(?:[.,][0-9]+)?)"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return match.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

QString boxText(double box) {
    return box == sheet::kYoungChildrensBox ? SheetDialog::tr("%1 mm (young children)").arg(box)
                                            : SheetDialog::tr("%1 mm").arg(box);
}

}  // namespace

SheetDialog::SheetDialog(Purpose purpose, const QString& text, const sheet::SheetOptions& options,
                         SheetSources sources, QWidget* parent)
    : QDialog(parent), sources_(std::move(sources)) {
    build(purpose, text, options);
    check();
    preview_->updatePreview();
    // Return prints or saves what is prefilled; the characters are a Tab or a click away.
    accept_->setFocus();
}

SheetDialog::~SheetDialog() = default;

void SheetDialog::build(Purpose purpose, const QString& text, const sheet::SheetOptions& options) {
    setWindowTitle(purpose == Purpose::Print ? tr("Print practice sheet")
                                             : tr("Save practice sheet as PDF"));
    auto* form = new QFormLayout;

    characters_ = new QPlainTextEdit(text, this);
    characters_->setTabChangesFocus(true);
    characters_->setFixedHeight(characters_->fontMetrics().lineSpacing() * 4);
    addGroup_ = new QPushButton(tr("Add its catalogue group"), this);
    addGroup_->setToolTip(tr("Adds every character of the current character's stroke-count group"));
    addGroup_->setEnabled(sources_.currentGroup && !sources_.currentGroup().isEmpty());
    charactersReason_ = reasonLabel(this);
    auto* charactersColumn = new QVBoxLayout;
    charactersColumn->addWidget(characters_);
    charactersColumn->addWidget(addGroup_, 0, Qt::AlignLeft);
    charactersColumn->addWidget(charactersReason_);
    form->addRow(labelFor(tr("&Characters:"), characters_), charactersColumn);

    paper_ = new QComboBox(this);
    paper_->addItem(tr("A4"), static_cast<int>(sheet::Paper::A4));
    paper_->addItem(tr("Letter"), static_cast<int>(sheet::Paper::Letter));
    paper_->setCurrentIndex(options.paper == sheet::Paper::Letter ? 1 : 0);
    form->addRow(tr("&Paper:"), paper_);

    grid_ = new QComboBox(this);
    for (sheet::Grid grid :
         {sheet::Grid::Tian, sheet::Grid::Mi, sheet::Grid::Jiu, sheet::Grid::Plain}) {
        grid_->addItem(sheet::gridLabel(grid), static_cast<int>(grid));
    }
    grid_->setCurrentIndex(grid_->findData(static_cast<int>(options.grid)));
    form->addRow(tr("&Guide:"), grid_);

    // Any size can be typed; the usual ones are offered.
    box_ = new QComboBox(this);
    box_->setEditable(true);
    box_->setInsertPolicy(QComboBox::NoInsert);
    for (double size = sheet::kSmallestBox; size <= sheet::kLargestBox; size += 2) {
        box_->addItem(boxText(size), size);
    }
    box_->setEditText(boxText(options.box));
    boxReason_ = reasonLabel(this);
    auto* boxColumn = new QVBoxLayout;
    boxColumn->addWidget(box_);
    boxColumn->addWidget(boxReason_);
    form->addRow(labelFor(tr("&Box size:"), box_), boxColumn);

    traceRows_ = new QSpinBox(this);
    traceRows_->setRange(0, sheet::kMostTraceRows);
    traceRows_->setValue(options.traceRows);
    buildRow_ = new QCheckBox(tr("&Stroke by stroke"), this);
    buildRow_->setChecked(options.buildRow);
    copyRows_ = new QSpinBox(this);
    copyRows_->setRange(0, sheet::kMostCopyRows);
    copyRows_->setValue(options.copyRows);
    fillPage_ = new QCheckBox(tr("&Fill the page"), this);
    fillPage_->setChecked(options.fillPage);
    rowsReason_ = reasonLabel(this);
    auto* rows = new QHBoxLayout;
    rows->addWidget(labelFor(tr("T&race:"), traceRows_));
    rows->addWidget(traceRows_);
    rows->addWidget(buildRow_);
    rows->addWidget(labelFor(tr("C&opy:"), copyRows_));
    rows->addWidget(copyRows_);
    rows->addWidget(fillPage_);
    rows->addStretch();
    auto* rowsColumn = new QVBoxLayout;
    rowsColumn->addLayout(rows);
    rowsColumn->addWidget(rowsReason_);
    form->addRow(tr("Rows:"), rowsColumn);

    title_ = new QLineEdit(options.title, this);
    title_->setPlaceholderText(tr("None"));
    titleReason_ = reasonLabel(this);
    auto* titleColumn = new QVBoxLayout;
    titleColumn->addWidget(title_);
    titleColumn->addWidget(titleReason_);
    form->addRow(labelFor(tr("&Title:"), title_), titleColumn);

    nameLine_ = new QCheckBox(tr("&Name, class and date line"), this);
    nameLine_->setChecked(options.nameLine);
    pinyin_ = new QCheckBox(tr("P&inyin above the character"), this);
    pinyin_->setChecked(options.pinyin);
    form->addRow(QString(), nameLine_);
    form->addRow(QString(), pinyin_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    accept_ = buttons->addButton(purpose == Purpose::Print ? tr("&Print…") : tr("&Save…"),
                                 QDialogButtonBox::AcceptRole);
    accept_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        check();
        if (acceptable()) {
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    printer_ = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    preview_ = new QPrintPreviewWidget(printer_.get(), this);
    preview_->setMinimumSize(320, 420);
    preview_->setZoomMode(QPrintPreviewWidget::FitInView);
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, &SheetDialog::paintPreview);
    previewTimer_ = new QTimer(this);
    previewTimer_->setSingleShot(true);
    previewTimer_->setInterval(kPreviewDelayMs);
    connect(previewTimer_, &QTimer::timeout, preview_, &QPrintPreviewWidget::updatePreview);

    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addStretch();
    left->addWidget(buttons);
    auto* whole = new QHBoxLayout(this);
    whole->addLayout(left, 3);
    whole->addWidget(preview_, 2);

    connect(characters_, &QPlainTextEdit::textChanged, this, &SheetDialog::changed);
    connect(addGroup_, &QPushButton::clicked, this, [this] {
        characters_->moveCursor(QTextCursor::End);
        characters_->insertPlainText(QStringLiteral(" ") + sources_.currentGroup());
    });
    for (QComboBox* combo : {paper_, grid_}) {
        connect(combo, &QComboBox::currentIndexChanged, this, &SheetDialog::changed);
    }
    connect(box_, &QComboBox::currentTextChanged, this, &SheetDialog::changed);
    for (QSpinBox* spin : {traceRows_, copyRows_}) {
        connect(spin, &QSpinBox::valueChanged, this, &SheetDialog::changed);
    }
    for (QCheckBox* box : {buildRow_, fillPage_, nameLine_, pinyin_}) {
        connect(box, &QCheckBox::toggled, this, &SheetDialog::changed);
    }
    connect(title_, &QLineEdit::textChanged, this, &SheetDialog::changed);
}

QString SheetDialog::text() const {
    return characters_->toPlainText();
}

sheet::SheetOptions SheetDialog::options() const {
    sheet::SheetOptions options;
    options.paper = static_cast<sheet::Paper>(paper_->currentData().toInt());
    options.grid = static_cast<sheet::Grid>(grid_->currentData().toInt());
    options.box = millimetres(box_->currentText()).value_or(0.0);
    options.traceRows = traceRows_->value();
    options.buildRow = buildRow_->isChecked();
    options.copyRows = copyRows_->value();
    options.fillPage = fillPage_->isChecked();
    options.title = title_->text();
    options.nameLine = nameLine_->isChecked();
    options.pinyin = pinyin_->isChecked();
    return options;
}

void SheetDialog::changed() {
    check();
    // While a value is refused, the preview keeps the last page that could be made.
    if (acceptable()) {
        previewTimer_->start();
    }
}

void SheetDialog::check() {
    QStringList all;
    QString boxReason;
    QString rowsReason;
    QString titleReason;
    if (!millimetres(box_->currentText())) {
        boxReason = tr("type the box's side in millimetres, %1 to %2")
                        .arg(sheet::kSmallestBox)
                        .arg(sheet::kLargestBox);
    }
    for (const sheet::OptionProblem& problem : sheet::problemsWith(options())) {
        QString& reason = problem.field == sheet::OptionField::Box     ? boxReason
                          : problem.field == sheet::OptionField::Title ? titleReason
                                                                       : rowsReason;
        if (reason.isEmpty()) {
            reason = problem.reason;
        }
    }
    QString charactersReason;
    const int counted = sheet::countedCharacters(text());
    if (counted == 0) {
        charactersReason = tr("type or paste the characters to practise");
        shown_.clear();
    } else if (counted > sheet::kMostSheetCharacters) {
        charactersReason = tr("%1 characters; a sheet takes at most %2")
                               .arg(counted)
                               .arg(sheet::kMostSheetCharacters);
    } else if (sources_.characters) {
        std::vector<sheet::SheetCharacter> found = sources_.characters(text(), charactersReason);
        if (found.size() > kPreviewCharacters) {
            found.resize(kPreviewCharacters);
        }
        shown_ = std::move(found);
    }
    copyRows_->setEnabled(!fillPage_->isChecked() || copyRows_->value() > 0);
    showReason(charactersReason_, charactersReason);
    showReason(boxReason_, boxReason);
    showReason(rowsReason_, rowsReason);
    showReason(titleReason_, titleReason);
    for (const QString& reason : {charactersReason, boxReason, rowsReason, titleReason}) {
        if (!reason.isEmpty()) {
            all << reason;
        }
    }
    problems_ = all.join(QLatin1Char('\n'));
    accept_->setEnabled(problems_.isEmpty());
}

void SheetDialog::paintPreview(QPrinter* printer) {
    ++previewPaints_;
    const sheet::SheetOptions shape = options();
    printer->setPageLayout(sheet::sheetPageLayout(shape.paper));
    previewed_ = 0;
    if (shown_.empty() || !sheet::problemsWith(shape).empty()) {
        return;
    }
    try {
        sheet::paintPracticeSheet(*printer, shown_, shape);
        previewed_ = static_cast<int>(shown_.size());
    } catch (const std::exception&) {
        // The preview is a help; printing says what went wrong.
    }
}

}  // namespace qir::sheet_dialog
