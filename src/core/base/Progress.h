#pragma once
// How long operations report how far they are.

#include <string>

namespace qm {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void start(const std::string& caption, int totalSteps) = 0;
    virtual void step() = 0;
    virtual void end() = 0;
};

class NullProgress : public Progress {
public:
    void start(const std::string&, int) override {}
    void step() override {}
    void end() override {}
};

// Opens on construction and closes on every way out of a scope.
class ProgressScope {
public:
    ProgressScope(Progress& progress, const std::string& caption, int totalSteps) : progress_(progress)
    {
        progress_.start(caption, totalSteps);
    }
    ~ProgressScope() { progress_.end(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    void step() { progress_.step(); }

private:
    Progress& progress_;
};

} // namespace qm
