#include "race/lap_counter.h"
#include "race/record_book.h"
#include "text/text_codec.h"
#include "tool/json_output.h"
#include "tool/tool_command.h"
#include "world/course_catalogue.h"

#include <memory>

namespace velnor {
namespace {

std::unique_ptr<CourseCatalogue> scannedCourses(const Invocation& call) {
    auto catalogue = std::make_unique<CourseCatalogue>(call.dir.toStdString());
    catalogue->scanCourses();
    return catalogue;
}

} // namespace

// The course catalogue with each course's comment and its three record totals.
int listCourses(const Invocation& call, QTextStream& out, QTextStream& /*err*/) {
    const auto catalogue = scannedCourses(call);
    auto book = std::make_unique<RecordBook>();
    book->readRecords(recordsFilePath(catalogue->root()), catalogue->entries());
    const RecordBook& records = *book;
    if (call.json) {
        QJsonArray courses;
        for (int i = 0; i <= catalogue->lastIndex(); ++i) {
            const CatalogueEntry& entry = catalogue->entry(i);
            QJsonArray totals;
            for (int place = 0; place < RecordBook::kPlaces; ++place) {
                const LapCounter& record = records.place(i, place);
                totals.append(record.isEmpty() ? 0 : record.totalTime());
            }
            courses.append(QJsonObject{{"index", i},
                                       {"name", fromShiftJis(entry.name)},
                                       {"path", QString::fromLocal8Bit(entry.path)},
                                       {"offset", entry.offset},
                                       {"comment", fromShiftJis(entry.comment)},
                                       {"records", totals}});
        }
        printJson(out, QJsonObject{{"courses", courses}});
        return 0;
    }
    if (catalogue->count() == 0)
        out << "No course files below " << call.dir << "\n";
    for (int i = 0; i <= catalogue->lastIndex(); ++i) {
        const CatalogueEntry& entry = catalogue->entry(i);
        out << QString::asprintf("%3d  ", i) << fromShiftJis(entry.name) << "  ("
            << QString::fromLocal8Bit(entry.path) << " @" << entry.offset << ")\n";
        if (entry.comment[0] != '\0')
            out << "       " << fromShiftJis(entry.comment) << "\n";
        out << "       best";
        for (int place = 0; place < RecordBook::kPlaces; ++place)
            out << "  " << QString::fromStdString(recordTimeText(records.place(i, place)));
        out << "\n";
    }
    return 0;
}

} // namespace velnor
