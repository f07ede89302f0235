// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the user reads about the working folder, in the user's language (the texts are marked
// for Qt's translation; without an application or a translation they read as written).

#ifndef QIR_WORKFOLDER_INTERNALS
#error "workfolder/folder_texts.h is private to its folder"
#endif

#include <QCoreApplication>
#include <QString>
#include <string>

namespace qir::workfolder {

struct FolderTexts {
    Q_DECLARE_TR_FUNCTIONS(qir::workfolder::WorkingFolder)
};

// `text` with %1, %2, %3 filled in at once (a path holding "%2" stays as it is), as UTF-8.
inline std::string filled(const QString& text, const std::string& first) {
    return text.arg(QString::fromStdString(first)).toStdString();
}
inline std::string filled(const QString& text, const std::string& first,
                          const std::string& second) {
    return text.arg(QString::fromStdString(first), QString::fromStdString(second)).toStdString();
}
inline std::string filled(const QString& text, const std::string& first, const std::string& second,
                          const std::string& third) {
    return text
        .arg(QString::fromStdString(first), QString::fromStdString(second),
             QString::fromStdString(third))
        .toStdString();
}

}  // namespace qir::workfolder
