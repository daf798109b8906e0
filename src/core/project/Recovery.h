#pragma once
// Recovery copies of unsaved work. While the editor holds unsaved changes it
// writes a copy of the open project into a folder of its own under a
// recovery root: the project as a version 5.6 file, both tile set files, and
// last a manifest naming the original paths, the time and the size and
// checksum of each file. Every file is written crash-safely and each write
// uses new file names, so an interrupted write leaves the copy before it
// whole. A lock file names the editor's process and stays locked while it
// runs: another editor offers only the copies whose editor is gone. A copy
// whose manifest or files do not match is never opened: it is moved into
// the root's "damaged" folder and reported.

#include "core/base/Progress.h"
#include "core/base/Result.h"
#include "core/project/Workspace.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

inline constexpr const char* MSG_RECOVER_QUESTION =
    "Quilt Mark found work on %s that was not saved, last kept at %s.\nRecover it?";
inline constexpr const char* MSG_RECOVERY_DAMAGED =
    "The recovery copy of %s is damaged and was not opened. It was kept in %s.";
inline constexpr const char* MSG_RECOVERY_WRITE_FAILED = "The recovery copy could not be written";
inline constexpr const char* RECOVERY_DAMAGED_FOLDER = "damaged";

// A copy found under the root.
struct RecoveryCopy {
    std::string folder;
    std::string projectPath; // the project's own paths; empty for an untitled project
    std::string bgTileSetPath;
    std::string objTileSetPath;
    std::int64_t time = 0; // when it was written, seconds since 1970
    std::uint32_t generation = 0;
};

// The editor's own copy. Its folder is made at the first write and locked
// until the copy is removed or the writer ends; ending the writer keeps the
// copy (only a clean save or close removes it). Not for use from two threads
// at once.
class RecoveryWriter {
public:
    explicit RecoveryWriter(std::string root);
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // Writes the workspace as the copy, time in seconds since 1970.
    // Failure: "The recovery copy could not be written" with the system's reason.
    Result write(const Workspace& ws, std::int64_t time);
    // Deletes the copy and its folder.
    void remove();
    // The copy was opened: its folder becomes this writer's, so that the next
    // write replaces it and a clean save removes it. False when it cannot be
    // locked (its editor runs after all).
    bool adopt(const RecoveryCopy& copy);

    const std::string& folder() const { return folder_; }
    bool hasCopy() const { return generation_ > 0; }

private:
    bool makeFolder();
    bool lockFolder(const std::string& folder);
    void unlock();

    std::string root_;
    std::string folder_;
    int lockFd_ = -1;
    std::uint32_t generation_ = 0;
};

// The copies under root whose editor no longer runs, oldest first. A folder
// without a manifest is removed (its first write never ended); one whose
// manifest is damaged is put aside, and its message added to damaged.
std::vector<RecoveryCopy> findRecoveryCopies(const std::string& root, std::vector<std::string>* damaged = nullptr);

// "Quilt Mark found work on <project> that was not saved, last kept at <time>."
std::string recoveryQuestion(const RecoveryCopy& copy);

// Opens the copy into the workspace as a project changed in every part, with
// the copy's own paths, so that Save writes the original files. The files are
// checked against the manifest and parsed whole before anything is taken
// over; a damaged copy is put aside and its message returned, and the
// workspace stays as it was.
Result openRecoveryCopy(const RecoveryCopy& copy, Workspace& ws, Progress& progress);

// Deletes a copy that is not wanted.
void discardRecoveryCopy(const RecoveryCopy& copy);

} // namespace qm
