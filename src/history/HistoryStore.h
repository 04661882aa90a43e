#pragma once

#include <string>
#include <vector>

#include "history/AnswerRecord.h"

namespace tavlix {

// Where the player's answers are kept. The program holds one for the session; tests pass
// an in-memory one.
class HistoryStore {
public:
    virtual ~HistoryStore() = default;
    // Keeps one answer for good (durable when this returns true). On failure returns false
    // with a short error text for the log; the answers kept before stay intact.
    virtual bool Add(const AnswerRecord& record, std::string& error) = 0;
    // Every answer kept, oldest first (ties in the order they were added). On failure
    // returns what could be read (possibly nothing) and sets the error text.
    virtual std::vector<AnswerRecord> LoadAll(std::string& error) const = 0;
    // True when answers can be read but not kept (a history in a folder this user may not
    // write): Add always fails, and callers need not try.
    virtual bool ReadOnly() const { return false; }
};

}  // namespace tavlix
