#pragma once
// Spreadsheet automation over .xlsx workbooks, in the shape of an automation server:
// an application with its workbook list, a workbook with its worksheet list, a
// worksheet's cells and their values. Everything runs in this process; "the
// application" is only the owner of the open workbooks.
//
//   sheet::Application app;
//   sheet::Workbook& book = app.Workbooks().Open("cases.xlsx");
//   sheet::Worksheet& first = book.Worksheets().Item(1);
//   std::string text = sheet::ValueToText(first.Cells(2, 1).Value());
//   first.Cells(2, 6).SetValue(12.5);
//   if (auto beside = book.SaveAs("cases.xlsx").Beside) { /* saved as beside->Written */ }
//   app.Quit();
//
// A save writes only the worksheets that changed (and, when a formula was
// overwritten, the parts that list the workbook's formulas); every other part of
// the package is copied as it is stored. Failures raise Exception with a message for
// the user: a missing or damaged workbook, a cell outside the grid, a failed save.
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/text/exception.h"

namespace sheet {

// An error value of a cell, such as "#DIV/0!".
struct CellError {
    std::string code;
    bool operator==(const CellError&) const = default;
};

// A cell's value: empty (std::monostate), a number, a text, a truth value or an error.
using Variant = std::variant<std::monostate, double, std::string, bool, CellError>;

// The value as text under the user's regional settings: empty gives "", a number its
// general decimal form (100 gives "100"), a text itself, a truth value "True" or
// "False", an error its code.
std::string ValueToText(const Variant& value);

class Worksheet;
class Workbook;

// One cell of a worksheet, reached by its row and column (from 1).
class CellRef {
public:
    int Row() const { return row_; }
    int Column() const { return column_; }
    // Empty for a cell that holds nothing; a formula cell gives its last result, and
    // one saved without a result reads empty (the empty text for a formula of text).
    Variant Value() const;
    bool HasFormula() const;
    // Replaces what the cell holds (a formula too) and keeps its format. Empty clears
    // it. A number must be finite, a text at most 32767 characters; bytes that are no
    // UTF-8 become U+FFFD. The first cell of a formula shared by others hands it over
    // to the next cell that uses it, as a spreadsheet application does. Cells of an
    // array formula refuse the value (see Refusal).
    void SetValue(const Variant& value);
    // Why the cell would refuse any value, or nothing when it takes one.
    std::optional<std::string> Refusal() const;

private:
    friend class Worksheet;
    CellRef(Worksheet* sheet, int row, int column) : sheet_(sheet), row_(row), column_(column) {}
    Worksheet* sheet_;
    int row_;
    int column_;
};

class Worksheet {
public:
    ~Worksheet();
    Worksheet(const Worksheet&) = delete;
    Worksheet& operator=(const Worksheet&) = delete;

    const std::string& Name() const;
    // Raises Exception for a row or column outside the grid (1 to 1048576, 1 to 16384).
    CellRef Cells(int row, int column);

    struct Impl;

private:
    friend class CellRef;
    friend class Workbook;
    friend class WorksheetList;
    explicit Worksheet(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// The worksheets of a workbook in tab order (chart sheets are not among them).
class WorksheetList {
public:
    int Count() const;
    // From 1; raises Exception outside the list or when the worksheet is damaged.
    Worksheet& Item(int index);

private:
    friend class Workbook;
    explicit WorksheetList(Workbook* book) : book_(book) {}
    Workbook* book_;
};

// Where a save under the workbook's own name went when another program had
// changed, replaced or removed that file since the workbook was opened.
struct SavedBeside {
    std::string Asked;    // the workbook's file, left as the other program made it
    std::string Written;  // the new file beside it that holds this workbook
    std::string Reason;   // "was changed by another program", ...
    bool operator==(const SavedBeside&) const = default;
};

// What a save that went through tells.
struct SaveOutcome {
    std::optional<SavedBeside> Beside;  // set when the workbook went beside its file
    // Empty, or what the user should know: the workbook was written over in place
    // without a copy beside it, since its folder takes no new file.
    std::string Notice;
};

class Workbook {
public:
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // The file it was opened from or last saved to.
    const std::string& FullName() const;
    WorksheetList& Worksheets() { return worksheets_; }
    // Writes the workbook to the file (the same file or another); the file is
    // replaced only by a complete workbook, through its real path, keeping its owner,
    // group, mode, ACL, user attributes and other names. What is saved is the workbook
    // as it was opened with the cells given since; what another program writes to the
    // file meanwhile never gets in. A save under its own name overwrites nothing of
    // such a program: when the file holds other bytes than were opened, or is gone,
    // the workbook goes to a new file beside it, "<name> (results).xlsx" (or
    // "(results 2)", ...), and the result says so; a touch, or a copy of the same
    // bytes put in its place, changes nothing. A file that is written over in place
    // (see Package::Write) has a complete copy beside it meanwhile,
    // "<name> (saved copy).xlsx", which a failed save keeps and names. Formulas on
    // any worksheet that read a cell given a value (directly or through other
    // formulas or defined names) are saved without their stored result, and the
    // workbook asks for a full calculation on opening.
    SaveOutcome SaveAs(const std::string& file_name);
    // Raises Exception, saying why, when the file it was opened from could not be
    // saved again: the user may not write it, or it is marked read-only.
    void CheckSavable() const;

    struct Impl;

private:
    friend class WorkbookList;
    friend class WorksheetList;
    explicit Workbook(const std::string& file_name);
    std::unique_ptr<Impl> impl_;
    WorksheetList worksheets_{this};
};

// An office program's lock file beside the workbook (".~lock.<name>#", "~$<name>"),
// the sign that the workbook is open there, or nothing.
std::optional<std::string> OfficeLockFile(const std::string& file_name);

class WorkbookList {
public:
    // Raises Exception when the file is missing or no readable .xlsx workbook.
    Workbook& Open(const std::string& file_name);
    int Count() const { return static_cast<int>(books_.size()); }
    // Closes every workbook without saving; references to them are then invalid.
    void CloseAll() { books_.clear(); }

private:
    std::vector<std::unique_ptr<Workbook>> books_;
};

class Application {
public:
    // Nothing is ever shown; the setting is kept for the callers that set it.
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    WorkbookList& Workbooks() { return workbooks_; }
    // Closes every workbook without saving.
    void Quit() { workbooks_.CloseAll(); }

private:
    bool visible_ = false;
    WorkbookList workbooks_;
};

}  // namespace sheet
