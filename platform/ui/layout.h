#pragma once
// The layout resource: a text of nested blocks
//
//   object DOVEREForm: TForm
//     Caption = 'Zorv'
//     ClientWidth = 1014
//     Font.Style = [fsBold]
//     OnCreate = FormCreate
//     object Panel_RUN: TPanel
//       Caption = 'RUN'#10'now'
//       Color = clRed
//       Items.Strings = (
//         'a'
//         'b')
//     end
//   end
//
// Values: whole or decimal numbers (also $hex), 'quoted texts' ('' is a quote; #10
// and other #codes join quoted parts; a + at the end of a line continues the text on
// the next), identifiers (True, False, colour names, enumerated values), sets
// [fsBold, fsItalic] and lists ( 'a' 'b' ); // starts a comment. An object's
// properties come before its nested objects. A nested object becomes a child of the
// control around it (components that are no controls are only owned by the form).
// `OnEvent = Name` binds the handler the form registered under Name. An unknown class,
// property or handler, a value that does not suit, or a syntax error stops loading
// with an Exception "file:line: ...".
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "platform/ui/types.h"

class TComponent;
class TForm;

namespace ui {

// The form's handlers by name.
class HandlerTable {
public:
    using Handler = std::variant<TNotifyEvent, TKeyPressEvent, TKeyEvent, TMouseEvent, TMouseMoveEvent,
                                 TDrawCellEvent, TCloseEvent>;

    // Throws when the name is already taken.
    void Add(const std::string& name, Handler handler);

    // A member function of the form as handler:
    //   handlers.Bind("FormCreate", this, &DOVEREForm::FormCreate);
    template <class F, class... A>
    void Bind(const std::string& name, F* self, void (F::*method)(A...)) {
        Add(name, Handler(std::function<void(A...)>(
                      [self, method](A... args) { (self->*method)(std::forward<A>(args)...); })));
    }

    const Handler* Find(std::string_view name) const;
    int Count() const { return static_cast<int>(handlers_.size()); }

private:
    std::map<std::string, Handler, std::less<>> handlers_;
};

// Makes a component of a class the layout names.
using ComponentFactory = std::function<TComponent*(TComponent* owner)>;
// The classes a layout can name: every control class of the model, TTimer and
// TOpenDialog. Register further ones before loading.
void RegisterComponentClass(const std::string& class_name, ComponentFactory factory);
bool IsComponentClass(std::string_view class_name);

// TForm::LoadLayout does this: the outer object is the form itself (its class must be
// TForm or the form's own class name; its name becomes the form's name).
void LoadLayout(TForm& form, std::string_view file_name, std::string_view text, const HandlerTable& handlers);

}  // namespace ui
