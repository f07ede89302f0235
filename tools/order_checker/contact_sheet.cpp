// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/order_checker/contact_sheet.h"

#include <QFont>
#include <QPainter>
#include <algorithm>

#include "tools/order_checker/order_check.h"
#include "tools/store_builder/character_reading.h"
#include "tools/store_builder/glyph.h"
#include "tools/store_builder/stroke_picture.h"

namespace qir::tools {
namespace {

constexpr int kLabelWidth = 120;
constexpr int kCaption = 30;
constexpr int kColumns = 8;  // a row wraps after this many steps, so a sheet stays readable

struct Layout {
    int cell;
    int lineHeight() const { return cell + kCaption + 4; }
};

struct SheetRow {
    QString label;
    CharacterData data;
    std::vector<StrokeClassSet> classes;
    std::string letters;
};

int linesOf(const SheetRow& row) {
    return std::max<int>(1, (static_cast<int>(row.data.strokes.size()) + kColumns - 1) / kColumns);
}

void drawRow(QPainter& painter, const Layout& layout, int rowTop, const SheetRow& row) {
    const int kCell = layout.cell;
    const int top = rowTop;
    painter.setPen(Qt::black);
    painter.setFont(QFont("AR PL KaitiM GB", 14));
    painter.drawText(QRect(4, top, kLabelWidth - 8, kCell), Qt::AlignLeft | Qt::AlignVCenter,
                     row.label);
    const std::vector<QImage> steps = renderStrokeSteps(makeGlyph(row.data), kCell);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const int column = static_cast<int>(i) % kColumns;
        const int left = kLabelWidth + column * (kCell + 4);
        const int top = rowTop + static_cast<int>(i) / kColumns * layout.lineHeight();
        painter.drawImage(left, top, steps[i]);
        painter.setFont(QFont("DejaVu Sans", 8));
        painter.setPen(QColor(20, 20, 160));
        painter.drawText(left + 2, top + 11, QString::number(i + 1));
        painter.setPen(Qt::black);
        painter.setFont(QFont("AR PL KaitiM GB", 9));
        const QString below = QString::fromStdString(row.classes[i].name());
        const QString reference = i < row.letters.size()
                                      ? QString::fromStdString(letterName(row.letters[i]))
                                      : QString("-");
        painter.drawText(QRect(left, top + kCell, kCell, kCaption / 2), Qt::AlignHCenter, below);
        painter.setPen(
            row.classes[i].intersects(classesOfLetter(i < row.letters.size() ? row.letters[i] : '?')
                                          .value_or(StrokeClassSet()))
                ? QColor(0, 120, 0)
                : QColor(200, 0, 0));
        painter.drawText(QRect(left, top + kCell + kCaption / 2, kCell, kCaption / 2),
                         Qt::AlignHCenter, reference);
    }
}

}  // namespace

QImage renderContactSheet(const std::vector<CharacterEntry>& characters,
                          const std::filesystem::path& dataFolder,
                          const OrderCorrections& corrections, const ReferenceOrders& reference,
                          int cell) {
    const Layout layout{cell};
    std::vector<SheetRow> rows;
    for (const CharacterEntry& character : characters) {
        const std::string* letters = reference.find(character.text.toStdString());
        const CharacterData original = readCharacterFile(dataFolder, character.text);
        rows.push_back({character.text + " data", original, classifyStrokes(original),
                        letters != nullptr ? *letters : ""});
        const OrderCorrection* entry = corrections.find(character.key);
        if (entry != nullptr && entry->reorders()) {
            const CharacterData corrected = readCharacterData(character, dataFolder, corrections);
            rows.push_back({character.text + " corrected", corrected, classifyStrokes(corrected),
                            rows.back().letters});
        }
    }
    int height = 0;
    for (const SheetRow& row : rows) {
        height += linesOf(row) * layout.lineHeight() + 8;
    }
    QImage sheet(kLabelWidth + kColumns * (cell + 4), std::max(1, height), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int top = 0;
    for (const SheetRow& row : rows) {
        drawRow(painter, layout, top, row);
        top += linesOf(row) * layout.lineHeight() + 8;
        painter.setPen(QColor(160, 160, 160));
        painter.drawLine(0, top - 4, sheet.width(), top - 4);
    }
    return sheet;
}

}  // namespace qir::tools
