// Records files from anywhere: read for a few courses, written back, read and written again. What
// the game writes reads back as what it wrote: the second writing is the first byte for byte.
#include "fuzz_file.h"
#include "platform/atomic_file.h"
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
    if (book->writeRecords(copy, courses) != 0)
        return 0;
    auto again = std::make_unique<velnor::RecordBook>();
    again->readRecords(copy, courses);
    const std::string second = velnor::fuzz::scratchDirectory() + "/second.rec";
    std::string written;
    std::string rewritten;
    if (again->writeRecords(second, courses) != 0 || !velnor::readWholeFile(copy, written) ||
        !velnor::readWholeFile(second, rewritten))
        return 0;
    if (written != rewritten)
        __builtin_trap(); // the records read back are not the records written
    return 0;
}
