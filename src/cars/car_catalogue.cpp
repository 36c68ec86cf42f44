#include "cars/car_catalogue.h"

#include "platform/atomic_file.h"
#include "platform/data_line.h"
#include "platform/directory_walk.h"
#include "platform/fixed_text.h"
#include "platform/line_reader.h"
#include "platform/section_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/stat.h>

namespace velnor {
namespace {

// The common steps every car line goes through: the line end is already gone; trailing spaces go.
std::string_view carLine(const TextLine& line) {
    return trimTrailingSpaces(line.text);
}

// A header name as the catalogue keeps it: cut to the name field.
std::string_view fieldName(std::string_view name) {
    return name.substr(0, shiftJisPrefixLength(name, CatalogueEntry::kNameSize - 1));
}

// A path the catalogue may write to: relative, inside the game directory, and short enough.
bool isSafeRelativePath(const std::string& path) {
    if (path.empty() || path.size() >= CatalogueEntry::kPathSize || path[0] == '/')
        return false;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        if (path.compare(start, slash - start, "..") == 0)
            return false;
        start = slash + 1;
    }
    return true;
}

struct ByteRange {
    std::int64_t begin = 0;
    std::int64_t end = 0;
};

// The bytes of a car's section in its file: the header line naming the car (the stored position
// is tried first; if the file changed, the first header with the same name), up to the next line
// the listing takes for a header (a comment line with brackets is part of the section). None
// when the file no longer holds the car.
std::optional<ByteRange> findSection(LineReader& reader, const CatalogueEntry& entry) {
    const std::string_view name = entry.name;
    std::optional<std::int64_t> atOffset;
    std::optional<std::int64_t> firstNamed;
    TextLine line;
    reader.seek(0);
    while (reader.next(line)) {
        const std::string_view text = carLine(line);
        if (isCommentLine(text) || !isHeaderLine(text) || fieldName(headerName(text)) != name)
            continue;
        if (line.offset == entry.offset) {
            atOffset = line.offset;
            break;
        }
        if (!firstNamed)
            firstNamed = line.offset;
    }
    const std::optional<std::int64_t> begin = atOffset ? atOffset : firstNamed;
    if (!begin)
        return std::nullopt;

    ByteRange range{*begin, *begin};
    reader.seek(*begin);
    bool first = true;
    while (reader.next(line)) {
        const std::string_view text = carLine(line);
        if (!first && !isCommentLine(text) && isHeaderLine(text))
            break;
        first = false;
        range.end = line.end;
    }
    return range;
}

// The bytes of the car file at `path` as the reader sees them: up to a Ctrl-Z, the end mark of
// files from old systems, where reading stops (what follows it is no part of any car, and a
// section written after it would never be listed again); none for a file that is gone. False
// for a file that is there but cannot be read.
bool readCarFile(const std::string& path, std::string& contents) {
    if (!readWholeFile(path, contents)) {
        contents.clear();
        struct stat info {};
        return stat(path.c_str(), &info) != 0 && errno == ENOENT;
    }
    contents.resize(std::min(contents.find('\x1a'), contents.size()));
    return true;
}

} // namespace

CarCatalogue::CarCatalogue(std::string root) : root_(std::move(root)) {}

void CarCatalogue::scanCars() {
    walkFiles(root_, "car", [this](const std::string& path) { listCarFile(path); });
}

int CarCatalogue::listCarFile(const std::string& path) {
    if (path.size() >= CatalogueEntry::kPathSize)
        return -1;
    LineReader reader;
    if (!reader.open(joinPath(root_, path)))
        return -1;

    CarListing listing;
    bool open = false; // a car of this file is listed and takes the key lines
    const auto finish = [&] {
        if (open)
            copyText(entries_[lastIndex_].comment, listing.summary());
        open = false;
    };
    TextLine line;
    while (reader.next(line)) {
        const std::string_view text = carLine(line);
        if (isCommentLine(text))
            continue;
        if (!isHeaderLine(text)) {
            if (open)
                listing.noteLine(text);
            continue;
        }
        finish();
        if (lastIndex_ + 1 >= kCapacity)
            continue; // the list is full: the rest are not listed
        CatalogueEntry& entry = entries_[++lastIndex_];
        entry = CatalogueEntry{};
        copyText(entry.name, headerName(text));
        copyText(entry.path, path);
        entry.offset = static_cast<std::int32_t>(std::min<std::int64_t>(line.offset, INT32_MAX));
        listing = CarListing{};
        open = true;
    }
    finish();
    return 0;
}

void CarCatalogue::sortCars() {
    std::stable_sort(entries_, entries_ + count(),
                     [](const CatalogueEntry& a, const CatalogueEntry& b) {
                         return std::string_view(a.name) < std::string_view(b.name);
                     });
}

int CarCatalogue::loadCar(int index) {
    if (index < 0 || index > lastIndex_)
        return -1;
    workCar_.fullReset(0);
    carColour_ = kNoCarColour;
    const CatalogueEntry& entry = entries_[index];
    SectionReader reader;
    if (!reader.open(joinPath(root_, entry.path), entry.offset))
        return -1;

    CarSpec& spec = workCar_.spec();
    spec.setCarname(entry.name);
    spec.setComment(entry.comment);

    // Every header holding the name belongs to the car (so "Kite" reads on into "Kite Sport").
    bool found = false;
    TextLine line;
    while (reader.next(line, found)) {
        const std::string_view text = carLine(line);
        if (isCommentLine(text))
            continue;
        if (isHeaderLine(text)) {
            if (text.find(entry.name) != std::string_view::npos)
                found = true;
            else if (found)
                break;
            continue;
        }
        if (found)
            applyCarKeyLine(text, spec, carColour_);
    }
    if (!found) { // the file no longer holds the car
        workCar_.fullReset(0);
        carColour_ = kNoCarColour;
        return -1;
    }
    return 0;
}

int CarCatalogue::indexOfCar(std::string_view name) const {
    for (int i = 0; i <= lastIndex_; ++i)
        if (std::string_view(entries_[i].name) == name)
            return i;
    return -1;
}

int CarCatalogue::findCar(std::string_view name) {
    const int index = indexOfCar(name);
    return index < 0 ? -1 : loadCar(index);
}

int CarCatalogue::appendCar(const std::string& path) {
    return editFile(-1, path, true);
}

int CarCatalogue::deleteCar(int index) {
    if (index < 0 || index > lastIndex_)
        return -1;
    return editFile(index, entries_[index].path, false);
}

int CarCatalogue::rewriteCar(int index) {
    if (index < 0 || index > lastIndex_)
        return -1;
    const std::string path = entries_[index].path;
    if (editFile(index, path, true) != 0)
        return -1;
    sortCars();
    return 0;
}

// Removes the section of entry `removeIndex` (when >= 0) from the file `path` and appends
// `workCar` (when `append`), in one safe replacement of the file; then brings the catalogue in
// line. On failure nothing changes and the result is -1: a file outside the game directory (also
// through a link), a car that is no longer in its file, a comment that cannot be written.
int CarCatalogue::editFile(int removeIndex, const std::string& path, bool append) {
    if (!isSafeRelativePath(path))
        return -1;
    if (append && removeIndex < 0 && lastIndex_ + 1 >= kCapacity)
        return -1;
    CarSpec spec = workCar_.spec(); // as written: the list shows what a new scan would find
    if (append && !makeTextsWritable(spec))
        return -1;
    std::string fullPath; // the linked file itself, so that a link stays a link
    if (!resolveInside(root_, path, fullPath))
        return -1;

    std::string contents;
    if (!readCarFile(fullPath, contents))
        return -1; // there, but unreadable: leave it alone

    std::optional<ByteRange> section;
    if (removeIndex >= 0 && !contents.empty()) {
        LineReader reader;
        if (!reader.open(fullPath))
            return -1;
        section = findSection(reader, entries_[removeIndex]);
    }
    if (removeIndex >= 0 && !section)
        return -1; // the car is not in its file (any more): nothing to remove
    if (section)
        contents.erase(static_cast<std::size_t>(section->begin),
                       static_cast<std::size_t>(section->end - section->begin));

    CatalogueEntry added;
    if (append) {
        copyText(added.name, spec.carname());
        copyText(added.path, path);
        copyText(added.comment, appendedCarSummary(spec));
        // After a last line that ends in a carriage return of its own, "\r\n": a bare "\n" would
        // make that CR part of the line end and change what the line reads as.
        contents.append(!contents.empty() && contents.back() == '\r' ? "\r\n" : "\n");
        added.offset = static_cast<std::int32_t>(std::min<std::size_t>(contents.size(), INT32_MAX));
        contents.append(formatCarSection(spec));
    }
    if (!replaceFile(fullPath, contents))
        return -1;

    if (section) {
        const std::int64_t removed = section->end - section->begin;
        for (int i = 0; i <= lastIndex_; ++i) {
            CatalogueEntry& other = entries_[i];
            if (i != removeIndex && path == other.path && other.offset > section->begin)
                other.offset = static_cast<std::int32_t>(other.offset - removed);
        }
    }
    if (removeIndex >= 0)
        removeEntry(removeIndex);
    if (append)
        entries_[++lastIndex_] = added;
    return 0;
}

int CarCatalogue::loadModel(const std::string& fileName, int bodyType) {
    return velnor::loadModel(joinPath(root_, fileName), bodyType, carColour_, model_);
}

void CarCatalogue::removeEntry(int index) {
    std::copy(entries_ + index + 1, entries_ + count(), entries_ + index);
    entries_[lastIndex_] = CatalogueEntry{};
    --lastIndex_;
}

} // namespace velnor
