// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/sheet/poppler.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <stdexcept>

namespace qir::testing {
namespace {

QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        throw std::runtime_error((program + " " + arguments.join(' ') +
                                  " failed: " + QString::fromUtf8(process.readAllStandardError()))
                                     .toStdString());
    }
    return process.readAllStandardOutput();
}

QString pathOf(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

}  // namespace

PdfInfo pdfInfo(const std::filesystem::path& pdf) {
    const QString text = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {pathOf(pdf)}));
    PdfInfo info;
    const auto field = [&](const char* name) {
        const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(QLatin1String(name)),
                                      QRegularExpression::MultilineOption);
        return line.match(text).captured(1).trimmed();
    };
    info.pages = field("Pages").toInt();
    info.pageSize = field("Page size");
    info.title = field("Title");
    return info;
}

QString pdfText(const std::filesystem::path& pdf, int page) {
    QStringList arguments;
    if (page > 0) {
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    }
    arguments << pathOf(pdf) << QStringLiteral("-");
    return QString::fromUtf8(run(QStringLiteral("pdftotext"), arguments));
}

QImage pdfPage(const std::filesystem::path& pdf, int page, int dpi) {
    QTemporaryDir folder;
    const QString prefix = folder.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QString::number(page),
         QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"), pathOf(pdf),
         prefix});
    QImage image(prefix + QStringLiteral(".ppm"));
    if (image.isNull()) {
        throw std::runtime_error("pdftoppm made no picture of " + pdf.string());
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace qir::testing
