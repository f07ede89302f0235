// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheet_layout.h"

#include <algorithm>
#include <cmath>

namespace qir::sheet {
namespace {

// About the boxes of a primary-school exercise book.
constexpr double kWantedCell = 15.0;
constexpr int kFewestColumns = 6;
constexpr int kCopyRows = 2;
constexpr double kFooterHeight = 9.0;

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
    explicit PageFiller(SheetPlan& plan) : plan_(plan), metrics_(plan.metrics) {}

    void add(int character, std::vector<SheetRow> rows) {
        const double height = heightOf(rows);
        if (height > metrics_.bodyHeight) {
            placeRowByRow(character, rows);
            return;
        }
        if (used_ > 0 && used_ + metrics_.blockGap + height > metrics_.bodyHeight) {
            newPage();
        }
        placeWhole(character, rows);
    }

  private:
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
    double used_ = 0;
};

}  // namespace

SheetMetrics metricsFor(const QSizeF& printableArea) {
    SheetMetrics metrics;
    metrics.columns =
        std::max(kFewestColumns, static_cast<int>(std::floor(printableArea.width() / kWantedCell)));
    metrics.cell = printableArea.width() / metrics.columns;
    metrics.headerHeight = 2 * metrics.cell;
    metrics.sectionGap = 0.3 * metrics.cell;
    metrics.stepRowGap = 0.15 * metrics.cell;
    metrics.blockGap = 0.6 * metrics.cell;
    metrics.footerHeight = kFooterHeight;
    metrics.bodyHeight = std::max(0.0, printableArea.height() - kFooterHeight);
    return metrics;
}

std::vector<SheetRow> blockRows(const SheetMetrics& metrics, int strokes) {
    const int columns = metrics.columns;
    std::vector<SheetRow> rows;
    rows.push_back({RowKind::Header, 0, 0, 0, 0, metrics.headerHeight});
    const int lines = rowsFor(strokes, columns);
    for (int line = 0; line < lines; ++line) {
        const int first = line * columns;
        rows.push_back({RowKind::Steps, first, std::min(columns, strokes - first),
                        line == 0 ? metrics.sectionGap : metrics.stepRowGap, 0, metrics.cell});
    }
    rows.push_back({RowKind::Trace, 0, columns, metrics.sectionGap, 0, metrics.cell});
    for (int line = 0; line < lines; ++line) {
        const int first = line * columns;
        rows.push_back(
            {RowKind::Build, first, std::min(columns, strokes - first), 0, 0, metrics.cell});
    }
    for (int copy = 0; copy < kCopyRows; ++copy) {
        rows.push_back({RowKind::Copy, 0, 0, 0, 0, metrics.cell});
    }
    double top = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        top += i == 0 ? 0 : rows[i].gapBefore;
        rows[i].top = top;
        top += rows[i].height;
    }
    return rows;
}

SheetPlan planSheet(const QSizeF& printableArea, const std::vector<int>& strokeCounts) {
    SheetPlan plan;
    plan.metrics = metricsFor(printableArea);
    PageFiller filler(plan);
    for (std::size_t i = 0; i < strokeCounts.size(); ++i) {
        filler.add(static_cast<int>(i), blockRows(plan.metrics, strokeCounts[i]));
    }
    return plan;
}

QRectF boxRect(const SheetMetrics& metrics, const SheetRow& row, int index) {
    return {index * metrics.cell, row.top, metrics.cell, metrics.cell};
}

QRectF headerCharacterRect(const SheetMetrics& metrics, const SheetRow& header) {
    return {0, header.top, metrics.headerHeight, metrics.headerHeight};
}

QRectF headerOverviewRect(const SheetMetrics& metrics, const SheetRow& header) {
    return {metrics.columns * metrics.cell - metrics.headerHeight, header.top, metrics.headerHeight,
            metrics.headerHeight};
}

QRectF headerTextRect(const SheetMetrics& metrics, const SheetRow& header, bool withOverview) {
    const double margin = 0.4 * metrics.cell;
    const double left = metrics.headerHeight + margin;
    const double right =
        metrics.columns * metrics.cell - (withOverview ? metrics.headerHeight + margin : 0);
    return {left, header.top, std::max(0.0, right - left), metrics.headerHeight};
}

QRectF footerRect(const SheetMetrics& metrics) {
    return {0, metrics.bodyHeight, metrics.columns * metrics.cell, metrics.footerHeight};
}

}  // namespace qir::sheet
