// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/character_data.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <cmath>

namespace qir::tools {
namespace {

std::vector<PathPoint> parseMedian(const QJsonValue& value, qsizetype stroke) {
    const std::string where = "median " + std::to_string(stroke + 1);
    if (!value.isArray() || value.toArray().isEmpty()) {
        throw StrokeDataError(where + " has no points");
    }
    std::vector<PathPoint> points;
    for (const QJsonValue& pointValue : value.toArray()) {
        const QJsonArray pair = pointValue.toArray();
        if (!pointValue.isArray() || pair.size() != 2 || !pair[0].isDouble() ||
            !pair[1].isDouble()) {
            throw StrokeDataError(where + " has a point that is not a pair of numbers");
        }
        points.push_back({pair[0].toDouble(), pair[1].toDouble()});
    }
    return points;
}

}  // namespace

CharacterData parseCharacterJson(std::string_view json) {
    if (json.empty()) {
        throw StrokeDataError("the file is empty");
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(json.data(), static_cast<qsizetype>(json.size())), &error);
    if (error.error != QJsonParseError::NoError) {
        throw StrokeDataError("malformed JSON at offset " + std::to_string(error.offset) + ": " +
                              error.errorString().toStdString());
    }
    if (!document.isObject()) {
        throw StrokeDataError("the JSON text is not an object");
    }
    const QJsonObject root = document.object();
    if (!root.value("strokes").isArray() || !root.value("medians").isArray()) {
        throw StrokeDataError("\"strokes\" or \"medians\" is missing or not a list");
    }
    const QJsonArray strokes = root.value("strokes").toArray();
    const QJsonArray medians = root.value("medians").toArray();
    if (strokes.isEmpty()) {
        throw StrokeDataError("the character has no strokes");
    }
    if (strokes.size() != medians.size()) {
        throw StrokeDataError(std::to_string(strokes.size()) + " outlines but " +
                              std::to_string(medians.size()) + " medians");
    }
    CharacterData data;
    for (qsizetype i = 0; i < strokes.size(); ++i) {
        if (!strokes[i].isString()) {
            throw StrokeDataError("outline " + std::to_string(i + 1) + " is not a string");
        }
        StrokeData stroke;
        try {
            stroke.outline = parseSvgPath(strokes[i].toString().toStdString());
        } catch (const PathSyntaxError& e) {
            throw StrokeDataError("outline " + std::to_string(i + 1) + ": " + e.what());
        }
        stroke.median = parseMedian(medians[i], i);
        data.strokes.push_back(std::move(stroke));
    }
    return data;
}

}  // namespace qir::tools
