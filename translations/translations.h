// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's texts in the user's language: its own translation (built from the .ts files
// beside this header and embedded in the program) and Qt's, for the texts of Qt's own dialogs
// and menus. Texts that are the window's design (its caption, hints, notices) are never marked
// for translation and stay as they are in every language.

#include <QLocale>
#include <QString>
#include <QTranslator>
#include <functional>

namespace qir::translations {

// The embedded translations' folder, and their base name: ":/translations/qir-stroke_zh_CN.qm".
inline constexpr const char* kFolder = ":/translations";
inline constexpr const char* kBaseName = "qir-stroke";

// Installed into the application for as long as it lives; made after the application object.
class Translations {
  public:
    // `qtFolder` is where Qt's own translations lie (qtbase_zh_CN.qm); by default Qt's
    // installed translations folder.
    explicit Translations(const QLocale& locale = QLocale(), const QString& qtFolder = {});
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // Whether a translation of the program's texts, and of Qt's, was found for the locale.
    bool ownLoaded() const { return ownLoaded_; }
    bool qtLoaded() const { return qtLoaded_; }

  private:
    QTranslator own_;
    QTranslator qt_;
    bool ownLoaded_ = false;
    bool qtLoaded_ = false;
};

// Whether `locale` reads Simplified Chinese, the translation shipped (zh_CN, zh_SG, zh).
bool simplifiedChinese(const QLocale& locale);

// Qt's own translations folder, as this Qt was built to look for it.
QString qtTranslationsFolder();

// The help page to open under `locale`: "help_zh_CN.htm" for Simplified Chinese when
// `exists` finds it, else "help.htm".
QString helpPage(const QLocale& locale, const std::function<bool(const QString&)>& exists);

}  // namespace qir::translations
