// Sets a flag for the life of a scope and clears it again on the way out, also when an exception
// leaves the scope: a guard against re-entry that cannot be left set.
#pragma once

namespace forms {

class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

}  // namespace forms
