#include "cars/car_catalogue.h"
#include "text/text_codec.h"
#include "tool/json_output.h"
#include "tool/tool_command.h"

namespace velnor {

// The sorted car catalogue: index, name, path, offset, summary.
int listCars(const Invocation& call, QTextStream& out, QTextStream& /*err*/) {
    CarCatalogue catalogue(call.dir.toStdString());
    catalogue.scanCars();
    catalogue.sortCars();
    if (call.json) {
        QJsonArray cars;
        for (int i = 0; i <= catalogue.lastIndex(); ++i) {
            const CatalogueEntry& entry = catalogue.entry(i);
            cars.append(QJsonObject{{"index", i},
                                    {"name", fromShiftJis(entry.name)},
                                    {"path", QString::fromLocal8Bit(entry.path)},
                                    {"offset", entry.offset},
                                    {"summary", fromShiftJis(entry.comment)}});
        }
        printJson(out, QJsonObject{{"cars", cars}});
        return 0;
    }
    if (catalogue.count() == 0)
        out << "No car files below " << call.dir << "\n";
    for (int i = 0; i <= catalogue.lastIndex(); ++i) {
        const CatalogueEntry& entry = catalogue.entry(i);
        out << QString::asprintf("%3d  ", i) << fromShiftJis(entry.name) << "  ("
            << QString::fromLocal8Bit(entry.path) << " @" << entry.offset << ")\n";
        for (const QString& line : fromShiftJis(entry.comment).split('\n'))
            out << "       " << line << "\n";
    }
    return 0;
}

} // namespace velnor
