// Records files from anywhere: read for a few courses, written back, read again.
#include "fuzz_file.h"
#include "platform/fixed_text.h"
#include "race/record_book.h"

#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = velnor::fuzz::writeInput("Velnor.rec", data, size);
    std::vector<velnor::CatalogueEntry> courses(3);
    velnor::copyText(courses[0].name, "Oval");
    velnor::copyText(courses[1].name, "Hill");
    velnor::copyText(courses[2].name, "");
    auto book = std::make_unique<velnor::RecordBook>();
    book->readRecords(path, courses);
    for (int slot = 0; slot < 3; ++slot)
        for (int place = 0; place < 3; ++place)
            book->place(slot, place).totalTime();
    const std::string copy = velnor::fuzz::scratchDirectory() + "/copy.rec";
    if (book->writeRecords(copy, courses) == 0) {
        auto again = std::make_unique<velnor::RecordBook>();
        again->readRecords(copy, courses);
    }
    return 0;
}
