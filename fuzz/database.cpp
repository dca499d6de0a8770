// Any bytes as an opening-book file: loading must not crash or hang, and what
// was loaded must save and load again to the same records.

#include "database/ADataBase.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace korvana;

namespace {

std::string scratchDirectory()
{
    static const std::string dir = [] {
        char tmpl[] = "/tmp/korvana-fuzz-db-XXXXXX";
        const char *made = mkdtemp(tmpl);
        if (!made)
            std::abort();
        return std::string(made) + "/";
    }();
    return dir;
}

int countRecords(ADataBase &db)
{
    int n = 0;
    int32_t key;
    const AData *record;
    db.resetWalk();
    while (db.nextRecord(key, record))
        ++n;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string dir = scratchDirectory();
    const int stones = size ? data[0] % 226 : 0;
    const std::string name = ADataBase::fileName(dir, stones);
    {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    }
    ADataBase db(ADataBase::NothingLoaded, dir);
    if (!db.Load(stones))
        return 0;
    const int loaded = countRecords(db);
    if (db.stoneCount() >= ADataBase::NothingLoaded)
        return 0;
    if (!db.Save())
        return 0;
    ADataBase again(ADataBase::NothingLoaded, dir);
    if (!again.Load(db.stoneCount()) || countRecords(again) != loaded)
        std::abort();
    std::filesystem::remove(db.fileName());
    return 0;
}
