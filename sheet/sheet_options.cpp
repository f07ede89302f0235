// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheet_options.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>
#include <array>
#include <cmath>
#include <stdexcept>

namespace qir::sheet {
namespace {

// The reasons a person reads: in the dialog in the user's language, on the command line as
// its other messages are, in English.
struct SheetOptionsText {
    Q_DECLARE_TR_FUNCTIONS(qir::sheet::SheetOptions)
};

struct GridEntry {
    Grid grid;
    const char* name;
};
constexpr std::array kGrids{GridEntry{Grid::Tian, "tian"}, GridEntry{Grid::Mi, "mi"},
                            GridEntry{Grid::Jiu, "jiu"}, GridEntry{Grid::Plain, "plain"}};

const QString kTrace = QStringLiteral("trace");
const QString kSteps = QStringLiteral("steps");
const QString kCopy = QStringLiteral("copy");
const QString kFill = QStringLiteral("fill");

namespace key {
const QString paper = QStringLiteral("sheet/paper");
const QString grid = QStringLiteral("sheet/grid");
const QString box = QStringLiteral("sheet/box");
const QString rows = QStringLiteral("sheet/rows");
const QString title = QStringLiteral("sheet/title");
const QString nameLine = QStringLiteral("sheet/nameLine");
const QString pinyin = QStringLiteral("sheet/pinyin");
}  // namespace key

}  // namespace

std::vector<OptionProblem> problemsWith(const SheetOptions& options, Language language) {
    const auto translated = [language](const char* text) {
        return language == Language::Users ? SheetOptionsText::tr(text) : QString::fromUtf8(text);
    };
    std::vector<OptionProblem> problems;
    if (!std::isfinite(options.box) || options.box < kSmallestBox || options.box > kLargestBox) {
        problems.push_back(
            {OptionField::Box, translated(QT_TRANSLATE_NOOP("qir::sheet::SheetOptions",
                                                            "the box must be %1 to %2 mm"))
                                   .arg(kSmallestBox)
                                   .arg(kLargestBox)});
    }
    if (options.traceRows < 0 || options.traceRows > kMostTraceRows) {
        problems.push_back(
            {OptionField::TraceRows,
             translated(QT_TRANSLATE_NOOP("qir::sheet::SheetOptions", "trace rows must be 0 to %1"))
                 .arg(kMostTraceRows)});
    }
    if (options.copyRows < 0 || options.copyRows > kMostCopyRows) {
        problems.push_back(
            {OptionField::CopyRows,
             translated(QT_TRANSLATE_NOOP("qir::sheet::SheetOptions", "copy rows must be 0 to %1"))
                 .arg(kMostCopyRows)});
    }
    if (options.traceRows == 0 && !options.buildRow && options.copyRows == 0 && !options.fillPage) {
        problems.push_back(
            {OptionField::Rows, translated(QT_TRANSLATE_NOOP("qir::sheet::SheetOptions",
                                                             "choose at least one practice row"))});
    }
    if (options.title.size() > kLongestTitle) {
        problems.push_back(
            {OptionField::Title,
             translated(
                 QT_TRANSLATE_NOOP("qir::sheet::SheetOptions",
                                   "the title is %1 characters long; at most %2 fit on the line"))
                 .arg(options.title.size())
                 .arg(kLongestTitle)});
    } else if (options.title.contains(QLatin1Char('\n')) ||
               options.title.contains(QLatin1Char('\r'))) {
        problems.push_back(
            {OptionField::Title, translated(QT_TRANSLATE_NOOP("qir::sheet::SheetOptions",
                                                              "the title must be one line"))});
    }
    return problems;
}

QString gridName(Grid grid) {
    for (const GridEntry& entry : kGrids) {
        if (entry.grid == grid) {
            return QLatin1String(entry.name);
        }
    }
    return {};
}

std::optional<Grid> gridNamed(const QString& name) {
    for (const GridEntry& entry : kGrids) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            return entry.grid;
        }
    }
    return std::nullopt;
}

QString gridLabel(Grid grid) {
    switch (grid) {
        case Grid::Tian:
            return QStringLiteral("田字格");
        case Grid::Mi:
            return QStringLiteral("米字格");
        case Grid::Jiu:
            return QStringLiteral("九宫格");
        case Grid::Plain:
            break;
    }
    return SheetOptionsText::tr("Plain boxes");
}

QString rowsText(const SheetOptions& options) {
    QStringList words;
    for (int i = 0; i < options.traceRows; ++i) {
        words << kTrace;
    }
    if (options.buildRow) {
        words << kSteps;
    }
    for (int i = 0; i < options.copyRows; ++i) {
        words << kCopy;
    }
    if (options.fillPage) {
        words << kFill;
    }
    return words.join(QLatin1Char(','));
}

void setRowsFromText(SheetOptions& options, const QString& text) {
    SheetOptions rows;
    rows.traceRows = 0;
    rows.buildRow = false;
    rows.copyRows = 0;
    // The kinds come in the order they are printed; each word is one row.
    int stage = 0;
    if (text.trimmed().isEmpty()) {
        throw std::invalid_argument("no rows given (the rows are trace, steps, copy and fill)");
    }
    const QStringList words = text.split(QLatin1Char(','));
    for (const QString& raw : words) {
        const QString word = raw.trimmed().toLower();
        const auto inOrder = [&](int wanted) {
            if (stage > wanted) {
                throw std::invalid_argument(
                    "the rows go in the order trace, steps, copy, fill; \"" + word.toStdString() +
                    "\" comes too late");
            }
            stage = wanted;
        };
        if (word == kTrace) {
            inOrder(0);
            ++rows.traceRows;
        } else if (word == kSteps) {
            inOrder(1);
            if (rows.buildRow) {
                throw std::invalid_argument("\"steps\" can be given once");
            }
            rows.buildRow = true;
        } else if (word == kCopy) {
            inOrder(2);
            ++rows.copyRows;
        } else if (word == kFill) {
            inOrder(3);
            if (rows.fillPage) {
                throw std::invalid_argument("\"fill\" can be given once");
            }
            rows.fillPage = true;
        } else {
            throw std::invalid_argument("unknown row \"" + raw.toStdString() +
                                        "\" (the rows are trace, steps, copy and fill)");
        }
    }
    options.traceRows = rows.traceRows;
    options.buildRow = rows.buildRow;
    options.copyRows = rows.copyRows;
    options.fillPage = rows.fillPage;
}

SheetOptions loadSheetOptions(QSettings& settings) {
    SheetOptions options;
    // Each value on its own: one damaged entry does not cost the others.
    const auto keepIfSound = [](SheetOptions& chosen, auto change) {
        SheetOptions trial = chosen;
        change(trial);
        if (problemsWith(trial).empty()) {
            chosen = trial;
        }
    };
    const QString paper = settings.value(key::paper).toString();
    if (paper == QLatin1String("letter")) {
        options.paper = Paper::Letter;
    } else if (paper == QLatin1String("a4")) {
        options.paper = Paper::A4;
    } else {
        options.paper = localePaper();
    }
    if (const std::optional<Grid> grid = gridNamed(settings.value(key::grid).toString())) {
        options.grid = *grid;
    }
    bool number = false;
    const double box = settings.value(key::box).toDouble(&number);
    if (number) {
        keepIfSound(options, [box](SheetOptions& trial) { trial.box = box; });
    }
    if (settings.contains(key::rows)) {
        const QString rows = settings.value(key::rows).toString();
        keepIfSound(options, [&rows](SheetOptions& trial) {
            try {
                setRowsFromText(trial, rows);
            } catch (const std::invalid_argument&) {
                trial.traceRows = -1;  // refused below, so the usual rows stay
            }
        });
    }
    const QString title = settings.value(key::title).toString();
    keepIfSound(options, [&title](SheetOptions& trial) { trial.title = title; });
    options.nameLine = settings.value(key::nameLine, options.nameLine).toBool();
    options.pinyin = settings.value(key::pinyin, options.pinyin).toBool();
    return options;
}

void saveSheetOptions(QSettings& settings, const SheetOptions& options) {
    settings.setValue(key::paper, options.paper == Paper::Letter ? QStringLiteral("letter")
                                                                 : QStringLiteral("a4"));
    settings.setValue(key::grid, gridName(options.grid));
    settings.setValue(key::box, options.box);
    settings.setValue(key::rows, rowsText(options));
    settings.setValue(key::title, options.title);
    settings.setValue(key::nameLine, options.nameLine);
    settings.setValue(key::pinyin, options.pinyin);
    settings.sync();
}

}  // namespace qir::sheet
