// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A PDF as poppler's command-line tools see it: page count and size, text, pictures.

#include <QImage>
#include <QString>
#include <filesystem>

namespace qir::testing {

struct PdfInfo {
    int pages = 0;
    QString pageSize;  // as pdfinfo prints it: "595.276 x 841.89 pts (A4)"
    QString title;
};

PdfInfo pdfInfo(const std::filesystem::path& pdf);
// The text of every page, or of page `page` (from 1) alone.
QString pdfText(const std::filesystem::path& pdf, int page = 0);
// Page `page` (from 1) at `dpi` dots per inch.
QImage pdfPage(const std::filesystem::path& pdf, int page, int dpi);

}  // namespace qir::testing
