#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CBMUtilities.h"

namespace tavlix {

class LanguageState;

// One question of a personal collection with the user's note.
struct CollectionItem {
    std::string question;  // four numbers separated by single blanks
    std::string reserved;  // always empty
    std::string note;
};

// "My Favorites" or "Trouble Makers": questions in sorted order, each once, kept in a
// settings file of the user data directory and saved after every change.
class Collection {
public:
    explicit Collection(bool isMyFavorites) : m_isMyFavorites(isMyFavorites) {}

    bool IsMyFavorites() const { return m_isMyFavorites; }
    // "My Favorites" or "Trouble Makers": the section of the file and the English name.
    std::string_view Name() const;
    std::string_view FileName() const;
    // The key of item n (from 1): "fmf n" or "fmt n".
    std::string Key(std::size_t n) const;

    // Reads the file: keys 1, 2, ... up to the first missing one or one without a comma;
    // unreadable and repeated questions are dropped. A missing file is an empty list.
    void Load(const std::filesystem::path& file);
    // Normalises, then writes a fresh file atomically; false with the text to show. A
    // file that held something but gave no item is first copied aside, so that a file
    // this program did not understand is never lost; without that copy nothing is
    // written.
    bool Save(const std::filesystem::path& file, const LanguageState& language,
              std::string& errorText);
    // Where a file that was not understood goes before it is first overwritten:
    // "cmf (not understood).ini", then "cmf (not understood 2).ini", ...
    static std::filesystem::path SetAsidePath(const std::filesystem::path& file, int attempt);
    // Drops unreadable and repeated questions and sorts (lists of two or more items).
    void Normalize();

    const std::vector<CollectionItem>& Items() const { return m_items; }
    std::vector<CollectionItem>& Items() { return m_items; }
    bool Contains(std::string_view question) const;
    // The position of the item with exactly this question text, or npos.
    std::size_t Find(std::string_view question) const;
    // The question list as IsQuestionInList takes it.
    StringArray Questions() const;

private:
    bool SetAsideNotUnderstood(const std::filesystem::path& file, const LanguageState& language,
                               std::string& errorText);

    bool m_isMyFavorites;
    std::vector<CollectionItem> m_items;
    std::filesystem::path m_notUnderstood;  // the loaded file, when it gave no item
};

// What the "Save to" dialog shows while the question is typed: the status line, and
// whether OK may be pressed.
struct SaveToState {
    std::string status;
    bool okEnabled = false;
};
// maximum: the largest number the question may hold.
SaveToState CheckSaveToQuestion(std::string_view typed, const Collection& target, unsigned maximum,
                                const LanguageState& language);

// The outcome of OK in the item dialog.
struct ItemCheck {
    enum Result { Accepted, Invalid, Duplicate } result = Invalid;
    std::string storedQuestion;  // sorted "a b c d"
    std::string message;         // the reason, or the reordering notice (may be empty)
};
// editedIndex: the item being modified (it may keep its own question), or npos.
ItemCheck CheckItem(std::string_view typed, const Collection& collection, std::size_t editedIndex,
                    const LanguageState& language);

// The solutions pane of a question: "A1: ..." lines under the rule, "There is no
// solution.", the invalid-question message (when more than 6 characters are typed for
// the item dialog, always for the list window), or the instruction.
std::string SolutionsText(std::string_view question, bool advanced, const LanguageState& language,
                          bool instructWhenShort);

// The text export of a collection.
struct ExportOptions {
    std::string title;
    bool notes = true;
    bool answers = true;
};
std::string ExportText(const Collection& collection, const ExportOptions& options,
                       const LanguageState& language);

}  // namespace tavlix
