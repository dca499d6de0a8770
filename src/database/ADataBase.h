#pragma once
// ADataBase: the stored positions of one stone count, read from and written to
// the text file "<dir>kumo%03d.adb".
//
// Look-ups recognise a position in any of the eight board orientations. A
// reload of a file that has not changed on disk (device, inode, size,
// modification and change time) since it was read or saved reuses the records
// in memory, and a few recently used files are kept, so the main window's
// reload after every move stays cheap for big books. Records changed in memory
// and not saved are dropped by the next Load, as a re-read would.
//
// Not thread-safe: each thread uses its own ADataBase.

#include "database/AData.h"
#include "database/ADataHash.h"
#include "database/PositionIndex.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvana {

class ADataBase : public ADataHash {
public:
    static constexpr int32_t Version = 210;      ///< written to every file
    static constexpr int32_t VersionLimit = 220; ///< files of this version or later are refused
    static constexpr int32_t ChainCount = 5003;
    static constexpr uint8_t NothingLoaded = 225; ///< stone count meaning "no file"

    /// Version 210, empty chains, then Load (which does nothing for stone
    /// count 225, the main window's start).
    explicit ADataBase(int stoneCount = NothingLoaded, const std::string &directory = {});
    /// Key modulo the number of chains.
    int32_t chainOf(int32_t key) const override;
    ~ADataBase() override;

    // --- file --------------------------------------------------------------
    /// Reads the file of the current stone count. Fails (records kept) when
    /// the stone count is above 224. Otherwise the records are replaced by the
    /// file's; on a missing file, a version of 220 or more, a stones field
    /// outside 0..224 or a file that cannot be read the database is left
    /// empty and the answer is false. A missing file is an empty book and says
    /// nothing; the other failures go to the error log once per file and state
    /// of it, and mark the file so that Save does not replace it.
    /// The stone count becomes the file's stones field.
    bool Load();
    /// Sets the stone count, then Load.
    bool Load(int stoneCount);
    /// Writes every record to the file of the current stone count through a
    /// temporary file and a rename; false (file and records untouched, the
    /// reason in lastError()) when that fails, when no stone count is set, or
    /// when the file is there but its last Load could not read it.
    bool Save();
    /// Why the last failed Load or Save failed; empty for a missing file.
    const std::string &lastError() const { return lastError_; }

    // --- look-up -----------------------------------------------------------
    /// The oldest stored record of exactly this position, orientation 0 only.
    const AData *Find(const AData &record) const;
    /// The first orientation 0..7 in which the position is stored (-1 when
    /// none) and the record found there.
    int FindOrientation(const AData &record, const AData **hit = nullptr) const;
    /// First stored candidate mapped into the record's orientation, or 255.
    uint8_t FindAnyOrientation(const AData &record) const;
    /// On a hit, `out` becomes the record (its id and stones) with the stored
    /// candidates mapped into its orientation, in stored order, all values 0,
    /// and the first of them is answered. On a miss `out` is untouched and
    /// the answer is 255.
    uint8_t CopyFromAnyOrientation(const AData &record, AData &out) const;

    // --- changes (in memory until Save) -------------------------------------
    /// Stores a copy at the end. Refused (false) when the position is already
    /// stored in any orientation, when the record has no candidate, or when
    /// its stones do not fit this database (count differs from the stone
    /// count, or a stone off the board), so the file stays readable.
    bool Add(const AData &record);
    /// Deletes the stored record found as by FindAnyOrientation; false when none.
    bool Remove(const AData &record);
    /// Add; when that is refused, Remove and Add again. A record without
    /// candidates thus deletes the position, and a changed one replaces it
    /// (stored in the record's orientation). True when the record is stored.
    bool Update(const AData &record);
    /// Destroys every record.
    void Clear();

    // --- settings ----------------------------------------------------------
    int32_t version() const { return Version; }
    uint8_t stoneCount() const { return stoneCount_; }
    /// Values outside 0..224 mean nothing is loaded (225). Records are kept.
    void setStoneCount(int stoneCount);
    const std::string &directory() const { return directory_; }
    void setDirectory(const std::string &directory) { directory_ = directory; }
    /// The file of the current stone count.
    std::string fileName() const { return fileName(directory_, stoneCount_); }
    /// "<dir>kumo%03d.adb": dir is the text up to and including its last ':',
    /// '/' or '\' (all of it when none), with '/' appended when it does not
    /// end in one of them; "kumo%03d.adb" alone for an empty directory.
    static std::string fileName(const std::string &directory, int stoneCount);

    /// Identity of a file's contents on disk.
    struct FileStamp {
        uint64_t device = 0, inode = 0;
        int64_t size = -1;
        int64_t modifiedNs = 0, changedNs = 0;
        bool operator==(const FileStamp &) const = default;
    };

private:
    /// Where the records in memory came from, when they are still exactly
    /// what that file holds.
    struct Origin {
        std::string fileName; ///< empty: the records mirror no file
        FileStamp stamp;
        bool trusted = false;   ///< false when the file changed too recently to trust its stamp
        uint8_t fileStones = 0; ///< the stones field the file gave
    };
    /// A file's records parked while another file is loaded.
    struct Stash {
        Stash() = default;
        Stash(const Stash &) = delete;
        Stash &operator=(const Stash &) = delete;
        ~Stash();
        tvector<Chain> chains;
        int32_t count = 0;
        PositionIndex index;
        Origin origin;
    };

    bool readFile(const std::string &name);
    bool fail(const std::string &name, const FileStamp &stamp, const std::string &message);
    bool restoreFromStash(const std::string &name, const FileStamp &stamp);
    void stashCurrent();
    void dropRecords();
    void changed() { origin_ = Origin{}; }
    const AData *findStones(const uint8_t *stones, int count) const;

    uint8_t stoneCount_ = NothingLoaded;
    std::string directory_;
    std::string unreadableFile_; ///< a file whose last Load failed though it exists
    std::string lastError_;
    PositionIndex index_;
    Origin origin_;
    std::vector<std::unique_ptr<Stash>> stashes_; ///< most recently used last
};

} // namespace korvana
