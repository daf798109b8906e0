#pragma once
// What one export run did with each file it was asked to write: the editor's
// export dialog and the command-line tool both read it.

#include <string>
#include <vector>

namespace qm {

struct ExportOutcome {
    std::string path;   // full path of the file (the first one of a run of split files)
    bool written = false;
    std::string reason; // why it was not written; empty when written
};

struct ExportReport {
    std::vector<ExportOutcome> files;

    void written(const std::string& path) { files.push_back({path, true, {}}); }
    void skipped(const std::string& path, const std::string& reason) { files.push_back({path, false, reason}); }
    bool allWritten() const
    {
        for (const ExportOutcome& f : files)
            if (!f.written)
                return false;
        return true;
    }
    int writtenCount() const
    {
        int n = 0;
        for (const ExportOutcome& f : files)
            n += f.written ? 1 : 0;
        return n;
    }
    void append(const ExportReport& other) { files.insert(files.end(), other.files.begin(), other.files.end()); }
};

} // namespace qm
