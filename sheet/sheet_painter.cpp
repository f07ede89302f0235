// SPDX-License-Identifier: GPL-3.0-or-later
// Paints a practice sheet, page by page, after the plan of sheet_layout.h.
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <map>

#include "platform/errors.h"
#include "sheet/glyph_drawing.h"
#include "sheet/practice_sheet.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_style.h"

namespace qir::sheet {
namespace {

// The sheet's words follow the user's language.
struct PracticeSheet {
    Q_DECLARE_TR_FUNCTIONS(qir::sheet::PracticeSheet)
};

[[noreturn]] void cannotPrint(const QString& cause) {
    throw Error("EPrinter",
                PracticeSheet::tr("Cannot print the practice sheet: %1").arg(cause).toStdString());
}

// The share of the header's height the main reading takes above the character.
constexpr double kReadingShare = 0.24;

QString strokeCountText(int strokes) {
    return strokes == 1 ? PracticeSheet::tr("1 stroke")
                        : PracticeSheet::tr("%1 strokes").arg(strokes);
}

// What a row group is for, written downwards left of it.
QString rowLabel(RowKind kind) {
    switch (kind) {
        case RowKind::Steps:
            return PracticeSheet::tr("Order");
        case RowKind::Trace:
        case RowKind::Build:
            return PracticeSheet::tr("Trace");
        case RowKind::Copy:
            return PracticeSheet::tr("Copy");
        case RowKind::Header:
            break;
    }
    return {};
}

// Chinese labels stack their characters; others turn on their side.
bool stacksDownwards(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x2E80; });
}

// Draws one page of the plan; lengths come in millimetres and go out in device units.
class PagePainter {
  public:
    PagePainter(QPainter& painter, const SheetMetrics& metrics, double unit,
                const std::vector<SheetCharacter>& characters,
                const std::vector<GlyphShapes>& glyphs, const SheetOptions& options)
        : painter_(painter),
          metrics_(metrics),
          unit_(unit),
          characters_(characters),
          glyphs_(glyphs),
          options_(options) {}

    void paint(const SheetPage& page, int number, int pages) {
        paintHead();
        for (std::size_t i = 0; i < page.blocks.size(); ++i) {
            const PlacedBlock& block = page.blocks[i];
            if (i > 0) {
                ruleAt(metrics_.bodyTop + block.rows.front().top - metrics_.blockGap / 2);
            }
            for (const SheetRow& row : block.rows) {
                paintRow(block.character, row);
            }
            paintLabels(block);
        }
        paintFooter(number, pages);
    }

  private:
    // On whole device units, like the strokes drawn in them.
    QRectF device(const QRectF& mm) const {
        return {std::round(mm.left() * unit_), std::round(mm.top() * unit_),
                std::round(mm.width() * unit_), std::round(mm.height() * unit_)};
    }

    void ruleAt(double top) {
        painter_.save();
        painter_.setPen(QPen(style::kRule, style::kRuleWidth * unit_));
        const double y = top * unit_;
        painter_.drawLine(QPointF(0, y), QPointF(metrics_.width * unit_, y));
        painter_.restore();
    }

    void guide(const QRectF& box) { drawGuide(painter_, box, unit_, options_.grid); }

    // The title, and a name line to fill in, at the top of every page.
    void paintHead() {
        painter_.save();
        painter_.setPen(style::kText);
        if (!options_.title.isEmpty()) {
            const QRectF line = device(titleRect(metrics_));
            QFont font = style::textFont(14, true);
            painter_.setFont(font);
            const QString title = QFontMetricsF(font, painter_.device())
                                      .elidedText(options_.title, Qt::ElideRight, line.width());
            painter_.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter, title);
        }
        if (options_.nameLine) {
            const QRectF line = device(nameLineRect(metrics_));
            const QFont font = style::textFont(10);
            painter_.setFont(font);
            const QFontMetricsF measure(font, painter_.device());
            const QStringList fields{PracticeSheet::tr("Name:"), PracticeSheet::tr("Class:"),
                                     PracticeSheet::tr("Date:")};
            const double share = line.width() / static_cast<double>(fields.size());
            painter_.setPen(QPen(style::kText, style::kRuleWidth * unit_));
            for (int i = 0; i < fields.size(); ++i) {
                const double left = line.left() + i * share;
                const double baseline = line.bottom() - 1.0 * unit_;
                painter_.drawText(QPointF(left, baseline), fields[i]);
                const double start = left + measure.horizontalAdvance(fields[i]) + 1.0 * unit_;
                painter_.drawLine(QPointF(start, baseline + 0.5 * unit_),
                                  QPointF(left + share - 4.0 * unit_, baseline + 0.5 * unit_));
            }
        }
        painter_.restore();
    }

    // Each group of rows named in the gutter: the steps, the rows to trace, the rows to copy.
    void paintLabels(const PlacedBlock& block) {
        std::size_t first = 0;
        while (first < block.rows.size()) {
            const QString label = rowLabel(block.rows[first].kind);
            std::size_t last = first;
            while (last + 1 < block.rows.size() && rowLabel(block.rows[last + 1].kind) == label) {
                ++last;
            }
            if (!label.isEmpty()) {
                paintLabel(label, device(labelRect(metrics_, block.rows[first], block.rows[last])));
            }
            first = last + 1;
        }
    }

    void paintLabel(const QString& label, const QRectF& band) {
        painter_.save();
        QFont font = style::textFont(7);
        painter_.setPen(style::kQuietText);
        if (stacksDownwards(label)) {
            painter_.setFont(font);
            const QFontMetricsF measure(font, painter_.device());
            const double step = measure.height();
            double top = band.center().y() - step * label.size() / 2;
            for (const QChar c : label) {
                painter_.drawText(QRectF(band.left(), top, band.width(), step), Qt::AlignCenter,
                                  QString(c));
                top += step;
            }
        } else {
            painter_.setFont(font);
            painter_.translate(band.center());
            painter_.rotate(-90);
            const QRectF turned(-band.height() / 2, -band.width() / 2, band.height(), band.width());
            painter_.drawText(turned, Qt::AlignCenter, label);
        }
        painter_.restore();
    }

    void paintRow(int character, const SheetRow& row) {
        const GlyphShapes& glyph = glyphs_[static_cast<std::size_t>(character)];
        const int strokes = glyph.strokeCount();
        switch (row.kind) {
            case RowKind::Header:
                paintHeader(characters_[static_cast<std::size_t>(character)], glyph, row);
                return;
            case RowKind::Steps:
                for (int i = 0; i < row.boxes; ++i) {
                    const QRectF box = device(boxRect(metrics_, row, i));
                    const int stroke = row.firstStroke + i;
                    guide(box);
                    fillStrokes(painter_, glyph, box, stroke + 1, strokes, style::kPending);
                    fillStrokes(painter_, glyph, box, 0, stroke, style::kFinished);
                    fillStrokes(painter_, glyph, box, stroke, stroke + 1, style::kNewStroke,
                                QPen(style::kNewStrokeEdge, style::kNewStrokeEdgeWidth * unit_,
                                     Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                    drawStartMark(painter_, stepMark(character, box, stroke), stroke + 1, unit_);
                }
                return;
            case RowKind::Trace:
                for (int i = 0; i < metrics_.columns; ++i) {
                    const QRectF box = device(boxRect(metrics_, row, i));
                    guide(box);
                    fillStrokes(painter_, glyph, box, 0, strokes, style::kTrace);
                }
                return;
            case RowKind::Build:
                for (int i = 0; i < metrics_.columns; ++i) {
                    const QRectF box = device(boxRect(metrics_, row, i));
                    guide(box);
                    if (i < row.boxes) {
                        fillStrokes(painter_, glyph, box, 0, row.firstStroke + i + 1,
                                    style::kTrace);
                    }
                }
                return;
            case RowKind::Copy:
                for (int i = 0; i < metrics_.columns; ++i) {
                    guide(device(boxRect(metrics_, row, i)));
                }
                return;
        }
    }

    // The steps' boxes of a character are all one size: its marks are placed once, in a box
    // at the origin, and moved into each.
    MarkPlace stepMark(int character, const QRectF& box, int stroke) {
        std::vector<MarkPlace>& marks = stepMarks_[character];
        if (marks.empty()) {
            marks = placeStepMarks(glyphs_[static_cast<std::size_t>(character)],
                                   QRectF(QPointF(0, 0), box.size()), markDiameter());
        }
        MarkPlace mark = marks.at(static_cast<std::size_t>(stroke));
        mark.start += box.topLeft();
        mark.centre += box.topLeft();
        return mark;
    }

    double markDiameter() const { return style::kStartMarkShare * metrics_.cell * unit_; }

    void paintHeader(const SheetCharacter& character, const GlyphShapes& glyph,
                     const SheetRow& row) {
        const store::CharacterFacts& facts = character.facts;
        // The main reading large above the character, as Chinese worksheets write it; the
        // character's box then keeps the rest of the header's height.
        QRectF box = device(headerCharacterRect(metrics_, row));
        if (options_.pinyin && !facts.readings.empty()) {
            const QRectF band(box.left(), box.top(), box.width(), box.height() * kReadingShare);
            QFont reading = style::textFont(1);
            reading.setPixelSize(std::max(1, static_cast<int>(band.height() * 0.7)));
            painter_.setFont(reading);
            painter_.setPen(style::kText);
            painter_.drawText(band, Qt::AlignCenter,
                              QString::fromStdString(facts.readings.front()));
            const double side = box.height() - band.height();
            box = QRectF(box.center().x() - side / 2, band.bottom(), side, side);
        }
        // The character as the Kai font writes it, its ink centred in the box.
        guide(box);
        QFont kai = style::kaiFont(1);
        kai.setPixelSize(std::max(1, static_cast<int>(box.height() * 0.8)));
        painter_.setFont(kai);
        painter_.setPen(style::kText);
        const QRectF ink = QFontMetricsF(kai, painter_.device()).tightBoundingRect(character.text);
        painter_.drawText(box.center() - ink.center(), character.text);

        // Every stroke, each numbered where it starts.
        const bool withOverview = glyph.strokeCount() <= kOverviewMostStrokes;
        if (withOverview) {
            const QRectF overview = device(headerOverviewRect(metrics_, row));
            guide(overview);
            fillStrokes(painter_, glyph, overview, 0, glyph.strokeCount(), style::kFinished);
            for (const MarkPlace& mark : placeOverviewMarks(glyph, overview, markDiameter())) {
                drawStartMark(painter_, mark, mark.stroke + 1, unit_);
            }
        }

        const QRectF text = device(headerTextRect(metrics_, row, withOverview));
        const QFont title = style::textFont(15, true);
        double top = text.top();
        const double titleHeight = QFontMetricsF(title, painter_.device()).height();
        painter_.setFont(title);
        painter_.drawText(QRectF(text.left(), top, text.width(), titleHeight),
                          Qt::AlignLeft | Qt::AlignTop, strokeCountText(glyph.strokeCount()));
        top += titleHeight * 1.3;
        // Every reading and the radical, then the gloss, each as long as it is.
        const auto paragraph = [&](const QFont& font, const QColor& colour, const QString& words) {
            const QRectF room(text.left(), top, text.width(), text.bottom() - top);
            const QRectF needed = QFontMetricsF(font, painter_.device())
                                      .boundingRect(room, Qt::AlignLeft | Qt::TextWordWrap, words);
            if (words.isEmpty() || needed.height() > room.height()) {
                return;  // what does not fit in the header is left out rather than overlap
            }
            painter_.setFont(font);
            painter_.setPen(colour);
            painter_.drawText(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, words);
            top += needed.height() + 0.8 * unit_;
        };
        QStringList readings;
        for (const std::string& reading : facts.readings) {
            if (options_.pinyin) {
                readings << QString::fromStdString(reading);
            }
        }
        QString identity = readings.join(QStringLiteral(", "));
        if (const QString radical = store::radicalText(facts); !radical.isEmpty()) {
            identity += (identity.isEmpty() ? QString() : QStringLiteral("   ")) +
                        PracticeSheet::tr("部首 %1").arg(radical);
        }
        paragraph(style::textFont(10, true), style::kText, identity);
        paragraph(style::textFont(9), style::kText, QString::fromStdString(facts.gloss));
    }

    void paintFooter(int number, int pages) {
        const QRectF footer = device(footerRect(metrics_));
        ruleAt(metrics_.bodyTop + metrics_.bodyHeight + 2.0);
        const QFont font = style::textFont(7);
        const QFont instructionFont = style::textFont(8);
        const double line = QFontMetricsF(instructionFont, painter_.device()).height();
        const QRectF first(footer.left(), footer.top() + 3.0 * unit_, footer.width(), line);
        const QRectF second = first.translated(0, line);
        painter_.save();
        painter_.setPen(style::kQuietText);
        painter_.setFont(font);
        const QString page = PracticeSheet::tr("Page %1 of %2").arg(number).arg(pages);
        painter_.drawText(first, Qt::AlignRight | Qt::AlignVCenter, page);
        // Once a page: how the sheet is used.
        painter_.setFont(instructionFont);
        const double room = first.width() -
                            QFontMetricsF(font, painter_.device()).horizontalAdvance(page) -
                            3.0 * unit_;
        painter_.drawText(
            QRectF(first.left(), first.top(), room, first.height()),
            Qt::AlignLeft | Qt::AlignVCenter,
            QFontMetricsF(instructionFont, painter_.device())
                .elidedText(
                    PracticeSheet::tr("Start each stroke at its numbered mark, the way it "
                                      "points; the new stroke is red. Trace the grey, then copy."),
                    Qt::ElideRight, room));
        painter_.setFont(font);
        painter_.drawText(second, Qt::AlignLeft | Qt::AlignVCenter,
                          style::kProgramName + QStringLiteral(" · ") +
                              PracticeSheet::tr("Stroke data from Make Me a Hanzi / "
                                                "hanzi-writer-data, under the Arphic Public "
                                                "License"));
        painter_.restore();
    }

    QPainter& painter_;
    const SheetMetrics& metrics_;
    double unit_;
    const std::vector<SheetCharacter>& characters_;
    const std::vector<GlyphShapes>& glyphs_;
    const SheetOptions& options_;
    std::map<int, std::vector<MarkPlace>> stepMarks_;
};

}  // namespace

int paintPracticeSheet(QPagedPaintDevice& device, const std::vector<SheetCharacter>& characters,
                       const SheetOptions& options) {
    std::vector<GlyphShapes> glyphs;
    std::vector<int> strokeCounts;
    for (const SheetCharacter& character : characters) {
        glyphs.push_back(glyphShapes(character.strokes));
        strokeCounts.push_back(glyphs.back().strokeCount());
    }
    const QRectF printable = device.pageLayout().paintRect(QPageLayout::Millimeter);
    const SheetPlan plan = planSheet(printable.size(), strokeCounts, options);

    QPainter painter;
    if (!painter.begin(&device)) {
        cannotPrint(PracticeSheet::tr("the printer or the file cannot be opened"));
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double unit = device.logicalDpiX() / 25.4;
    PagePainter pages(painter, plan.metrics, unit, characters, glyphs, options);
    const int count = static_cast<int>(plan.pages.size());
    for (int page = 0; page < count; ++page) {
        if (page > 0 && !device.newPage()) {
            cannotPrint(PracticeSheet::tr("the printer did not take page %1").arg(page + 1));
        }
        pages.paint(plan.pages[static_cast<std::size_t>(page)], page + 1, count);
    }
    if (!painter.end()) {
        cannotPrint(PracticeSheet::tr("the printer did not take the sheet"));
    }
    return count;
}

}  // namespace qir::sheet
