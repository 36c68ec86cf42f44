#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QTextStream>
#include <optional>
#include <type_traits>

namespace velnor {

// How every velnor-tool command writes `--json`: one indented document on stdout.
void printJson(QTextStream& out, const QJsonObject& object);

// A single-precision value as the shortest decimal that reads back as it (0.9f is 0.9, not
// 0.899999976).
double shortest(float value);

// A figure that may be missing (a speed never reached) as the number or null.
QJsonValue optionalNumber(const std::optional<double>& value);

// A vector or array of numbers as a JSON array; floats through `shortest`.
QJsonArray vectorJson(const auto& values) {
    QJsonArray array;
    for (const auto value : values) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, float>)
            array.append(shortest(value));
        else
            array.append(value);
    }
    return array;
}

} // namespace velnor
