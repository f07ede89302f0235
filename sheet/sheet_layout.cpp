// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheet_layout.h"

#include <algorithm>
#include <cmath>

namespace qir::sheet {
namespace {

constexpr int kFewestColumns = 6;
// Two lines: the instruction, the page number and the program; the data's credit.
constexpr double kFooterHeight = 10.0;
// Left of the rows, for their labels (描红, 笔顺, 临写) written downwards.
constexpr double kLabelGutter = 5.0;
constexpr double kTitleLine = 8.0;
constexpr double kNameLine = 8.0;
constexpr double kHeadGap = 3.0;

int rowsFor(int boxes, int columns) {
    return std::max(1, (boxes + columns - 1) / columns);
}

double heightOf(const std::vector<SheetRow>& rows) {
    double height = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        height += (i == 0 ? 0 : rows[i].gapBefore) + rows[i].height;
    }
    return height;
}

// Fills pages top to bottom.
class PageFiller {
  public:
    PageFiller(SheetPlan& plan, bool fillPages)
        : plan_(plan), metrics_(plan.metrics), fillPages_(fillPages) {}

    void add(int character, std::vector<SheetRow> rows) {
        const double height = heightOf(rows);
        if (height > metrics_.bodyHeight) {
            placeRowByRow(character, rows);
        } else {
            if (used_ > 0 &&
                (fillPages_ || used_ + metrics_.blockGap + height > metrics_.bodyHeight)) {
                newPage();
            }
            placeWhole(character, rows);
        }
        if (fillPages_) {
            fillToTheFoot();
        }
    }

  private:
    // Empty rows under the block just placed, as many as the page still takes.
    void fillToTheFoot() {
        std::vector<SheetRow>& rows = page().blocks.back().rows;
        for (;;) {
            const RowKind last = rows.back().kind;
            const double gap =
                last == RowKind::Header || last == RowKind::Steps ? metrics_.sectionGap : 0;
            if (used_ + gap + metrics_.cell > metrics_.bodyHeight + 1e-9) {
                return;
            }
            rows.push_back({RowKind::Copy, 0, 0, gap, used_ + gap, metrics_.cell});
            used_ += gap + metrics_.cell;
        }
    }

    void newPage() {
        plan_.pages.emplace_back();
        used_ = 0;
    }
    SheetPage& page() {
        if (plan_.pages.empty()) {
            plan_.pages.emplace_back();
        }
        return plan_.pages.back();
    }

    void placeWhole(int character, std::vector<SheetRow>& rows) {
        double top = used_ > 0 ? used_ + metrics_.blockGap : 0;
        PlacedBlock block{character, {}};
        for (std::size_t i = 0; i < rows.size(); ++i) {
            top += i == 0 ? 0 : rows[i].gapBefore;
            rows[i].top = top;
            top += rows[i].height;
            block.rows.push_back(rows[i]);
        }
        page().blocks.push_back(std::move(block));
        used_ = top;
    }

    // Only a block taller than a whole page comes here: it goes on a fresh page and breaks
    // between rows, the header staying with the row after it.
    void placeRowByRow(int character, std::vector<SheetRow>& rows) {
        if (used_ > 0) {
            newPage();
        }
        page().blocks.push_back({character, {}});
        for (std::size_t i = 0; i < rows.size(); ++i) {
            double needed = rows[i].height;
            if (rows[i].kind == RowKind::Header && i + 1 < rows.size()) {
                needed += rows[i + 1].gapBefore + rows[i + 1].height;
            }
            const bool firstOnPage = page().blocks.back().rows.empty();
            const double gap = firstOnPage ? 0 : rows[i].gapBefore;
            if (!firstOnPage && used_ + gap + needed > metrics_.bodyHeight) {
                newPage();
                page().blocks.push_back({character, {}});
            }
            const double top = page().blocks.back().rows.empty() ? 0 : used_ + rows[i].gapBefore;
            rows[i].top = top;
            used_ = top + rows[i].height;
            page().blocks.back().rows.push_back(rows[i]);
        }
    }

    SheetPlan& plan_;
    const SheetMetrics& metrics_;
    bool fillPages_;
    double used_ = 0;
};

}  // namespace

SheetMetrics metricsFor(const QSizeF& printableArea, const SheetOptions& options) {
    SheetMetrics metrics;
    const double room = std::max(0.0, printableArea.width() - kLabelGutter);
    metrics.width = printableArea.width();
    metrics.columns =
        std::max(kFewestColumns, static_cast<int>(std::floor(room / options.box + 1e-9)));
    metrics.cell = std::min(options.box, room / metrics.columns);
    metrics.left = kLabelGutter + (room - metrics.columns * metrics.cell) / 2;
    metrics.titleHeight = options.title.isEmpty() ? 0 : kTitleLine;
    const double head = metrics.titleHeight + (options.nameLine ? kNameLine : 0);
    metrics.headHeight = head > 0 ? head + kHeadGap : 0;
    metrics.headerHeight = 1.75 * metrics.cell;
    metrics.sectionGap = 0.3 * metrics.cell;
    metrics.stepRowGap = 0.15 * metrics.cell;
    metrics.blockGap = 0.6 * metrics.cell;
    metrics.footerHeight = kFooterHeight;
    metrics.bodyTop = metrics.headHeight;
    metrics.bodyHeight = std::max(0.0, printableArea.height() - kFooterHeight - metrics.bodyTop);
    return metrics;
}

std::vector<SheetRow> blockRows(const SheetMetrics& metrics, int strokes,
                                const SheetOptions& options) {
    const int columns = metrics.columns;
    std::vector<SheetRow> rows;
    rows.push_back({RowKind::Header, 0, 0, 0, 0, metrics.headerHeight});
    const int lines = rowsFor(strokes, columns);
    for (int line = 0; line < lines; ++line) {
        const int first = line * columns;
        rows.push_back({RowKind::Steps, first, std::min(columns, strokes - first),
                        line == 0 ? metrics.sectionGap : metrics.stepRowGap, 0, metrics.cell});
    }
    // The practice rows touch one another, a gap apart from the steps.
    const auto gap = [&rows, &metrics] {
        return rows.back().kind == RowKind::Steps ? metrics.sectionGap : 0.0;
    };
    for (int trace = 0; trace < options.traceRows; ++trace) {
        rows.push_back({RowKind::Trace, 0, columns, gap(), 0, metrics.cell});
    }
    if (options.buildRow) {
        for (int line = 0; line < lines; ++line) {
            const int first = line * columns;
            rows.push_back({RowKind::Build, first, std::min(columns, strokes - first), gap(), 0,
                            metrics.cell});
        }
    }
    for (int copy = 0; copy < options.copyRows; ++copy) {
        rows.push_back({RowKind::Copy, 0, 0, gap(), 0, metrics.cell});
    }
    double top = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        top += i == 0 ? 0 : rows[i].gapBefore;
        rows[i].top = top;
        top += rows[i].height;
    }
    return rows;
}

SheetPlan planSheet(const QSizeF& printableArea, const std::vector<int>& strokeCounts,
                    const SheetOptions& options) {
    SheetPlan plan;
    plan.metrics = metricsFor(printableArea, options);
    PageFiller filler(plan, options.fillPage);
    for (std::size_t i = 0; i < strokeCounts.size(); ++i) {
        filler.add(static_cast<int>(i), blockRows(plan.metrics, strokeCounts[i], options));
    }
    return plan;
}

QRectF boxRect(const SheetMetrics& metrics, const SheetRow& row, int index) {
    return {metrics.left + index * metrics.cell, metrics.bodyTop + row.top, metrics.cell,
            metrics.cell};
}

QRectF labelRect(const SheetMetrics& metrics, const SheetRow& first, const SheetRow& last) {
    const double top = metrics.bodyTop + first.top;
    return {0, top, metrics.left, metrics.bodyTop + last.top + last.height - top};
}

QRectF headerCharacterRect(const SheetMetrics& metrics, const SheetRow& header) {
    return {metrics.left, metrics.bodyTop + header.top, metrics.headerHeight, metrics.headerHeight};
}

QRectF headerOverviewRect(const SheetMetrics& metrics, const SheetRow& header) {
    return {metrics.left + metrics.columns * metrics.cell - metrics.headerHeight,
            metrics.bodyTop + header.top, metrics.headerHeight, metrics.headerHeight};
}

QRectF headerTextRect(const SheetMetrics& metrics, const SheetRow& header, bool withOverview) {
    const double margin = 0.4 * metrics.cell;
    const double left = metrics.left + metrics.headerHeight + margin;
    const double right = metrics.left + metrics.columns * metrics.cell -
                         (withOverview ? metrics.headerHeight + margin : 0);
    return {left, metrics.bodyTop + header.top, std::max(0.0, right - left), metrics.headerHeight};
}

QRectF titleRect(const SheetMetrics& metrics) {
    return {0, 0, metrics.width, metrics.titleHeight};
}

QRectF nameLineRect(const SheetMetrics& metrics) {
    return {0, metrics.titleHeight, metrics.width,
            std::max(0.0, metrics.headHeight - metrics.titleHeight - kHeadGap)};
}

QRectF footerRect(const SheetMetrics& metrics) {
    return {0, metrics.bodyTop + metrics.bodyHeight, metrics.width, metrics.footerHeight};
}

}  // namespace qir::sheet
