// Which events fire when code or the user changes a control, and that nothing else does.
#include <gtest/gtest.h>

#include <functional>

#include "event_log.h"
#include "platform/ui/ui.h"

namespace {

template <class T>
T* Make(TWinControl* parent, const char* name) {
    auto* c = new T(parent->ParentForm());
    c->SetName(name);
    c->SetParent(parent);
    return c;
}

struct Window {
    ui::ApplicationScope scope;
    TForm* form = nullptr;
    TGroupBox* group;
    TEdit* edit;
    TCheckBox* check;
    TComboBox* combo;
    TRadioGroup* radio;
    TCheckListBox* list;
    TButton* button;
    EventLog log;

    Window() {
        scope.Headless().SetEcho(false);
        Application->CreateForm(form);
        form->SetName("Form");
        group = Make<TGroupBox>(form, "Group");
        edit = Make<TEdit>(group, "Edit");
        check = Make<TCheckBox>(group, "Check");
        combo = Make<TComboBox>(group, "Combo");
        radio = Make<TRadioGroup>(group, "Radio");
        list = Make<TCheckListBox>(group, "List");
        button = Make<TButton>(group, "Button");
        edit->SetText("4000");
        combo->SetStyle(csDropDownList);
        combo->Items().Assign({"Diagonal", "Chevron", "Other"});
        combo->SetItemIndex(0);
        radio->Items().Assign({"Left", "Mid.", "Right"});
        radio->SetItemIndex(0);
        list->Items().Assign({"1", "2"});
        for (TControl* c : std::initializer_list<TControl*>{group, edit, check, combo, radio, list, button})
            log.Watch(c);
    }
};

struct Case {
    const char* what;
    std::function<void(Window&)> act;
    std::vector<std::string> fired;
};

class FiringRules : public ::testing::TestWithParam<Case> {};

TEST_P(FiringRules, FireExactlyTheseEvents) {
    Window w;
    GetParam().act(w);
    EXPECT_EQ(w.log.Take(), GetParam().fired) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    FromCode, FiringRules,
    ::testing::Values(
        Case{"new text fires OnChange", [](Window& w) { w.edit->SetText("5000"); }, {"Edit.OnChange(5000)"}},
        Case{"the same text is no change", [](Window& w) { w.edit->SetText("4000"); }, {}},
        Case{"emptying is a change", [](Window& w) { w.edit->SetText(""); }, {"Edit.OnChange()"}},
        Case{"checking fires OnClick", [](Window& w) { w.check->SetChecked(true); }, {"Check.OnClick"}},
        Case{"checking twice fires once",
             [](Window& w) {
                 w.check->SetChecked(true);
                 w.check->SetChecked(true);
             },
             {"Check.OnClick"}},
        Case{"clearing a clear box fires nothing", [](Window& w) { w.check->SetChecked(false); }, {}},
        Case{"the silent set fires nothing",
             [](Window& w) {
                 w.check->SetCheckedSilent(true);
                 EXPECT_TRUE(w.check->Checked());
             },
             {}},
        Case{"choosing a combo item fires nothing", [](Window& w) { w.combo->SetItemIndex(2); }, {}},
        Case{"a radio item from code fires OnClick", [](Window& w) { w.radio->SetItemIndex(2); }, {"Radio.OnClick"}},
        Case{"the chosen radio item again fires nothing", [](Window& w) { w.radio->SetItemIndex(0); }, {}},
        Case{"no radio item fires nothing", [](Window& w) { w.radio->SetItemIndex(-1); }, {}},
        Case{"clearing radio items fires nothing", [](Window& w) { w.radio->Items().Clear(); }, {}},
        Case{"a refilled radio with item 0 chosen again fires OnClick",
             [](Window& w) {
                 w.radio->Items().Clear();
                 w.radio->Items().Assign({"Left", "Right"});
                 w.radio->SetItemIndex(0);
             },
             {"Radio.OnClick"}},
        Case{"ticking a list entry fires nothing", [](Window& w) { w.list->SetChecked(1, true); }, {}}),
    [](const auto& info) { return std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    FromUser, FiringRules,
    ::testing::Values(
        Case{"typing: key press first, then the change, per key",
             [](Window& w) { ui::UserTypeText(w.edit, "5"); },
             {"Edit.OnKeyPress(53)", "Edit.OnChange(40005)"}},
        Case{"Enter reaches OnKeyPress and changes nothing",
             [](Window& w) { ui::UserPressEnter(w.edit); },
             {"Edit.OnKeyPress(13)"}},
        Case{"backspace removes the last character",
             [](Window& w) { ui::UserKeyPress(w.edit, '\b'); },
             {"Edit.OnKeyPress(8)", "Edit.OnChange(400)"}},
        Case{"a click on a check box toggles it once",
             [](Window& w) {
                 ui::UserClick(w.check);
                 EXPECT_TRUE(w.check->Checked());
             },
             {"Check.OnClick"}},
        Case{"space toggles a check box",
             [](Window& w) { ui::UserKeyPress(w.check, ' '); },
             {"Check.OnKeyPress(32)", "Check.OnClick"}},
        Case{"choosing another combo item: click, then change",
             [](Window& w) { ui::UserChooseItem(w.combo, 1); },
             {"Combo.OnClick", "Combo.OnChange(1)"}},
        Case{"choosing the chosen combo item fires nothing", [](Window& w) { ui::UserChooseItem(w.combo, 0); }, {}},
        Case{"arrow down moves the combo choice",
             [](Window& w) { ui::UserKeyDown(w.combo, VK_DOWN); },
             {"Combo.OnKeyDown(40)", "Combo.OnClick", "Combo.OnChange(1)"}},
        Case{"arrow up at the first item only reports the key",
             [](Window& w) { ui::UserKeyDown(w.combo, VK_UP); },
             {"Combo.OnKeyDown(38)"}},
        Case{"choosing a radio item", [](Window& w) { ui::UserChooseItem(w.radio, 1); }, {"Radio.OnClick"}},
        Case{"Enter presses a button",
             [](Window& w) { ui::UserPressEnter(w.button); },
             {"Button.OnKeyPress(13)", "Button.OnClick"}},
        Case{"a double click is a click and then a double click",
             [](Window& w) { ui::UserDoubleClick(w.list); },
             {"List.OnClick", "List.OnDblClick"}},
        Case{"mouse events carry their position",
             [](Window& w) {
                 ui::UserMouseEnter(w.group);
                 ui::UserMouseMove(w.group, 0, 3, 4);
                 ui::UserMouseUp(w.group, mbLeft, 0, 5, 6);
                 ui::UserMouseLeave(w.group);
             },
             {"Group.OnMouseEnter", "Group.OnMouseMove(3,4)", "Group.OnMouseUp(5,6)", "Group.OnMouseLeave"}},
        Case{"a disabled container makes its children inert",
             [](Window& w) {
                 w.group->SetEnabled(false);
                 ui::UserTypeText(w.edit, "1");
                 ui::UserClick(w.check);
                 ui::UserChooseItem(w.combo, 2);
                 ui::UserMouseEnter(w.group);
                 EXPECT_EQ(w.edit->Text(), "4000");
                 EXPECT_EQ(w.combo->ItemIndex(), 0);
             },
             {}},
        Case{"a hidden control takes no input",
             [](Window& w) {
                 w.button->Hide();
                 ui::UserClick(w.button);
             },
             {}}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(ComboBox, IndexOutsideTheItemsOrClearedItemsGiveNoChoice) {
    struct IndexCase {
        int set;
        int expected;
        const char* text;
    };
    ui::ApplicationScope scope;
    TComboBox combo(nullptr);
    combo.SetStyle(csDropDownList);
    combo.Items().Assign({"a", "b", "c"});
    for (const IndexCase& c : {IndexCase{1, 1, "b"}, IndexCase{3, -1, ""}, IndexCase{-5, -1, ""}, IndexCase{2, 2, "c"},
                               IndexCase{-1, -1, ""}}) {
        combo.SetItemIndex(c.set);
        EXPECT_EQ(combo.ItemIndex(), c.expected) << c.set;
        EXPECT_EQ(combo.Text(), c.text) << c.set;
    }
    combo.SetItemIndex(2);
    combo.Items().Delete(0);
    EXPECT_EQ(combo.ItemIndex(), 1) << "the chosen item keeps its choice when an earlier one goes";
    combo.Items().Delete(1);
    EXPECT_EQ(combo.ItemIndex(), -1) << "deleting the chosen item";
    combo.SetItemIndex(0);
    combo.Items().Clear();
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.Text(), "");
}

TEST(ComboBox, OnSelectFiresOnEveryPickFromTheListInPlaceOfOnChange) {
    struct PickCase {
        const char* what;
        bool bind_select;
        std::function<void(TComboBox*)> act;
        std::vector<std::string> fired;
        int index_after;
    };
    const std::vector<PickCase> cases = {
        {"the item already chosen, picked from the list", true, [](TComboBox* c) { ui::UserChooseItem(c, 0); },
         {"Combo.OnClick", "Combo.OnSelect(0)"}, 0},
        {"another item from the list", true, [](TComboBox* c) { ui::UserChooseItem(c, 2); },
         {"Combo.OnClick", "Combo.OnSelect(2)"}, 2},
        {"an arrow key that moves", true, [](TComboBox* c) { ui::UserKeyDown(c, VK_DOWN); },
         {"Combo.OnKeyDown(40)", "Combo.OnClick", "Combo.OnSelect(1)"}, 1},
        {"an arrow key at the first item picks nothing", true, [](TComboBox* c) { ui::UserKeyDown(c, VK_UP); },
         {"Combo.OnKeyDown(38)"}, 0},
        {"an index outside the list", true, [](TComboBox* c) { ui::UserChooseItem(c, 3); }, {}, 0},
        {"from code", true, [](TComboBox* c) { c->SetItemIndex(1); }, {}, 1},
        {"without OnSelect the chosen item again is no change", false,
         [](TComboBox* c) { ui::UserChooseItem(c, 0); }, {}, 0},
    };
    for (const PickCase& c : cases) {
        Window w;
        if (c.bind_select)
            w.combo->OnSelect = [&w](TObject*) {
                w.log.Add("Combo.OnSelect(" + std::to_string(w.combo->ItemIndex()) + ")");
            };
        c.act(w.combo);
        EXPECT_EQ(w.log.Take(), c.fired) << c.what;
        EXPECT_EQ(w.combo->ItemIndex(), c.index_after) << c.what;
    }
}

// A column group as the main window has them: a narrow selector beside a depth edit in
// a group inside another group, a caption label under a button, and an edit that sticks
// out of its group. Positions in the form's client area are noted beside the steps.
struct PointerWindow {
    ui::ApplicationScope scope;
    TForm* form = nullptr;
    TGroupBox *columns, *left;
    TEdit *depth, *beyond;
    TComboBox* selector;
    TLabel* caption;
    TButton* over;
    EventLog log;

    PointerWindow() {
        scope.Headless().SetEcho(false);
        Application->CreateForm(form);
        form->SetName("Form");
        form->SetClientWidth(400);
        form->SetClientHeight(300);
        columns = Make<TGroupBox>(form, "Columns");
        columns->SetBounds(10, 10, 300, 100);
        left = Make<TGroupBox>(columns, "Left");
        left->SetBounds(6, 20, 150, 56);
        depth = Make<TEdit>(left, "Depth");
        depth->SetBounds(52, 24, 64, 22);
        selector = Make<TComboBox>(left, "Selector");
        selector->SetBounds(120, 24, 24, 22);
        over = Make<TButton>(columns, "Over");
        over->SetBounds(200, 30, 50, 20);
        caption = Make<TLabel>(columns, "Caption");  // later, yet drawn behind the button
        caption->SetBounds(160, 20, 100, 30);
        beyond = Make<TEdit>(columns, "Beyond");
        beyond->SetBounds(290, 5, 50, 20);
        for (TControl* c : std::initializer_list<TControl*>{form, columns, left, depth, selector, over, caption, beyond})
            log.Watch(c);
    }
};

TEST(Pointer, EnterAndLeaveGoToTheControlUnderThePointerOnly) {
    PointerWindow w;
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> fired;
    };
    auto at = [&w](int x, int y) { return [&w, x, y] { ui::UserPointAt(w.form, x, y); }; };
    const std::vector<Step> steps = {
        {"onto the inner group's free area", at(20, 80), {"Left.OnMouseEnter"}},
        {"on to the selector: the group is left", at(140, 60), {"Left.OnMouseLeave", "Selector.OnMouseEnter"}},
        {"within the selector", at(150, 70), {}},
        {"back to the group's free area: entered again", at(20, 80),
         {"Selector.OnMouseLeave", "Left.OnMouseEnter"}},
        {"to the outer group's free area", at(12, 105), {"Left.OnMouseLeave", "Columns.OnMouseEnter"}},
        {"out of the form", [&w] { ui::UserPointerLeft(w.form); }, {"Columns.OnMouseLeave"}},
        {"one jump from outside onto the selector: no group hears of it", at(140, 60),
         {"Selector.OnMouseEnter"}},
        {"the selector widened over the edit is in front of it",
         [&w] {
             w.selector->SetBounds(10, 24, 136, 22);
             ui::UserPointAt(w.form, 80, 60);
         },
         {}},
        {"a button over a label", at(215, 45), {"Selector.OnMouseLeave", "Over.OnMouseEnter"}},
        {"the label beside it", at(175, 35), {"Over.OnMouseLeave", "Caption.OnMouseEnter"}},
        {"an edit sticking out, inside its group", at(305, 20), {"Caption.OnMouseLeave", "Beyond.OnMouseEnter"}},
        {"the same edit outside its group: the form", at(315, 20), {"Beyond.OnMouseLeave", "Form.OnMouseEnter"}},
        {"a hidden selector is not there",
         [&w] {
             w.selector->Hide();
             ui::UserPointAt(w.form, 80, 60);
         },
         {"Form.OnMouseLeave", "Depth.OnMouseEnter"}},
        {"a disabled selector is there but hears nothing",
         [&w] {
             w.selector->Show();
             w.selector->SetEnabled(false);
             ui::UserPointAt(w.form, 80, 60);
         },
         {"Depth.OnMouseLeave"}},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(w.log.Take(), step.fired) << step.what;
    }
    EXPECT_EQ(w.form->Hovered(), w.selector);
    EXPECT_EQ(ui::ControlAtPoint(w.form, -1, 5), nullptr);
    EXPECT_EQ(ui::ControlAtPoint(w.form, 400, 5), nullptr);
}

TEST(Pointer, AControlThatGoesIsNoLongerUnderThePointer) {
    PointerWindow w;
    ui::UserPointAt(w.form, 140, 60);
    ASSERT_EQ(w.form->Hovered(), w.selector);
    delete w.left;  // the selector's group, and so the selector's place in the form
    EXPECT_EQ(w.form->Hovered(), nullptr);
    w.log.Take();
    ui::UserPointAt(w.form, 12, 105);
    EXPECT_EQ(w.log.Take(), (std::vector<std::string>{"Columns.OnMouseEnter"}));

    // Moved into another form, the control leaves this one; moved within it, it stays.
    ui::UserPointAt(w.form, 305, 20);
    ASSERT_EQ(w.form->Hovered(), w.beyond);
    w.beyond->SetParent(w.form);
    EXPECT_EQ(w.form->Hovered(), w.beyond);
    TForm* other = nullptr;
    Application->CreateForm(other);
    w.beyond->SetParent(other);
    EXPECT_EQ(w.form->Hovered(), nullptr);
}

TEST(RadioGroup, IndexIsKeptWithinTheItems) {
    ui::ApplicationScope scope;
    TRadioGroup radio(nullptr);
    int clicks = 0;
    radio.OnClick = [&](TObject*) { ++clicks; };
    radio.Items().Assign({"Left", "Right"});
    radio.SetItemIndex(7);
    EXPECT_EQ(radio.ItemIndex(), 1);
    radio.SetItemIndex(-3);
    EXPECT_EQ(radio.ItemIndex(), -1);
    radio.SetItemIndex(1);
    radio.Items().Delete(1);
    EXPECT_EQ(radio.ItemIndex(), 0) << "a selection past the end moves to the last item";
    EXPECT_EQ(clicks, 2);
}

TEST(Edit, EnterReachesTheHandlerBeforeTheEditActsAndTheHandlerCanDropKeys) {
    Window w;
    std::vector<std::string> seen;
    w.edit->OnKeyPress = [&](TObject*, char& key) {
        seen.push_back(w.edit->Text() + "|" + std::to_string(key));
        if (key == 'x') key = 0;   // dropped
        if (key == 'a') key = 'b'; // changed
    };
    ui::UserTypeText(w.edit, "xa");
    ui::UserPressEnter(w.edit);
    EXPECT_EQ(seen, (std::vector<std::string>{"4000|120", "4000|97", "4000b|13"}));
    EXPECT_EQ(w.edit->Text(), "4000b");
}

TEST(Edit, DigitsOnlyEditTakesOnlyDigitsFromTheKeyboard) {
    Window w;
    w.edit->SetNumbersOnly(true);
    w.edit->SetText("");
    ui::UserTypeText(w.edit, "1a2.3-");
    ui::UserKeyPress(w.edit, '\b');
    EXPECT_EQ(w.edit->Text(), "12");
    EXPECT_EQ(ui::FilterKeyPress(w.edit, '7'), '7');
    EXPECT_EQ(ui::FilterKeyPress(w.edit, 'e'), 0);
    EXPECT_EQ(ui::FilterKeyPress(w.edit, '\r'), '\r') << "Enter still reaches the edit";
    w.edit->SetText("1.5");  // code is not held to it
    EXPECT_EQ(w.edit->Text(), "1.5");
}

TEST(Edit, BackendReportsTheWidgetText) {
    Window w;
    ui::UserEditText(w.edit, "42");
    ui::UserEditText(w.edit, "42");
    EXPECT_EQ(w.log.Take(), (std::vector<std::string>{"Edit.OnChange(42)"}));
}

TEST(Focus, TabVisitsTabStopsInTabOrderIncludingControlsBeyondTheRightEdge) {
    ui::ApplicationScope scope;
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetClientWidth(1014);
    auto* page = Make<TGroupBox>(form, "Page");
    auto* a = Make<TEdit>(page, "A");
    auto* hidden = Make<TEdit>(page, "Hidden");
    auto* b = Make<TEdit>(page, "B");
    auto* design = Make<TButton>(form, "Design");
    design->SetBounds(1025, 689, 75, 25);  // past the window's edge
    auto* disabled = Make<TButton>(form, "Disabled");
    auto* panel = Make<TPanel>(form, "Panel");  // no tab stop
    hidden->Hide();
    disabled->SetEnabled(false);
    b->SetTabOrder(0);  // before A within the page

    EXPECT_EQ(ui::TabOrderList(form), (std::vector<TWinControl*>{b, a, design}));
    EXPECT_EQ(ui::UserTab(form), b);
    EXPECT_EQ(ui::UserTab(form), a);
    EXPECT_EQ(ui::UserTab(form), design);
    EXPECT_TRUE(design->Focused());
    EXPECT_EQ(ui::UserTab(form), b) << "wraps round";
    EXPECT_EQ(ui::UserTab(form, false), design);
    EXPECT_FALSE(panel->CanFocus() && panel->TabStop());
    EXPECT_THROW(disabled->SetFocus(), Exception);
    delete design;
    EXPECT_EQ(form->ActiveControl(), nullptr) << "the focus goes with a deleted control";
}

TEST(LabeledEdit, LabelFollowsTheEdit) {
    struct PlaceCase {
        TLabelPosition position;
        TPoint expected;
    };
    const TRect edit(100, 50, 160, 71);
    for (const PlaceCase& c : {PlaceCase{lpAbove, {100, 34}}, PlaceCase{lpBelow, {100, 74}},
                               PlaceCase{lpLeft, {67, 54}}, PlaceCase{lpRight, {163, 54}}})
        EXPECT_EQ(ui::BoundLabelPosition(edit, 30, 13, c.position, 3), c.expected) << c.position;

    Window w;
    auto* labeled = Make<TLabeledEdit>(w.group, "Hcol");
    labeled->EditLabel()->SetCaption("Hcol");
    labeled->EditLabel()->SetBounds(0, 0, 30, 13);
    labeled->SetBounds(100, 50, 60, 21);
    EXPECT_EQ(labeled->EditLabel()->Parent(), w.group);
    EXPECT_EQ(labeled->EditLabel()->BoundsRect(), TRect(100, 34, 130, 47));
    labeled->SetLabelPosition(lpLeft);
    EXPECT_EQ(labeled->EditLabel()->Left(), 67);
    labeled->Hide();
    EXPECT_FALSE(labeled->EditLabel()->Visible());
    EXPECT_EQ(w.form->FindComponent("SubLabel"), nullptr) << "the label belongs to the edit";
}

}  // namespace

namespace {

TEST(Strings, ListOperationsAndTheOutOfBoundsMessage) {
    TStringList list;
    EXPECT_EQ(list.Add("b"), 0);
    list.Insert(0, "a");
    EXPECT_EQ(list.Add("c"), 2);
    list.SetStrings(2, "C");
    EXPECT_EQ(list.List(), (std::vector<std::string>{"a", "b", "C"}));
    EXPECT_EQ(list.IndexOf("C"), 2);
    EXPECT_EQ(list.IndexOf("c"), -1) << "exact comparison";
    list.Delete(0);
    EXPECT_EQ(list[0], "b");
    list.Assign(list.List());
    EXPECT_EQ(list.Count(), 2) << "assigning its own items";
    struct BadIndex {
        std::function<void()> call;
        const char* message;
    };
    for (const BadIndex& c : {BadIndex{[&] { (void)list[-1]; }, "List index out of bounds (-1)"},
                              BadIndex{[&] { (void)list.Strings(2); }, "List index out of bounds (2)"},
                              BadIndex{[&] { list.Delete(5); }, "List index out of bounds (5)"},
                              BadIndex{[&] { list.Insert(3, "x"); }, "List index out of bounds (3)"}}) {
        try {
            c.call();
            ADD_FAILURE() << c.message;
        } catch (const EStringListError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

TEST(CheckListBox, TicksFollowTheirItemsAndNoSelectionReadsOutOfBounds) {
    ui::ApplicationScope scope;
    TCheckListBox box(nullptr);
    box.Items().Assign({"1", "2", "3"});
    box.SetChecked(2, true);
    box.Items().Delete(0);
    EXPECT_TRUE(box.Checked(1));
    box.Items().Insert(0, "0");
    EXPECT_FALSE(box.Checked(0));
    EXPECT_TRUE(box.Checked(2));
    box.SetItemIndex(1);
    box.Items().Clear();
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_THROW(box.Checked(0), EStringListError);
    EXPECT_THROW((void)box.Items()[box.ItemIndex()], EStringListError);
}

TEST(Click, AClickFocusesWhatCanTakeTheFocus) {
    Window w;
    ui::UserClick(w.edit);
    EXPECT_TRUE(w.edit->Focused());
    ui::UserClick(w.group);
    EXPECT_TRUE(w.edit->Focused()) << "a group box takes no focus";
}

}  // namespace
