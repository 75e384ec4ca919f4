#include "platform/ui/layout.h"
#include "platform/text/utf.h"

#include <cctype>
#include <cstdlib>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/text/exception.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/grid.h"

namespace ui {

// ---- Handlers ----------------------------------------------------------------------

void HandlerTable::Add(const std::string& name, Handler handler) {
    if (!handlers_.emplace(name, std::move(handler)).second)
        throw Exception("The handler " + name + " is registered twice");
}

const HandlerTable::Handler* HandlerTable::Find(std::string_view name) const {
    auto it = handlers_.find(name);
    return it == handlers_.end() ? nullptr : &it->second;
}

// ---- Classes -----------------------------------------------------------------------

namespace {

std::map<std::string, ComponentFactory, std::less<>>& Registry() {
    static std::map<std::string, ComponentFactory, std::less<>> registry = [] {
        std::map<std::string, ComponentFactory, std::less<>> r;
        auto add = [&r]<class T>(T*) { r[T::kClass] = [](TComponent* owner) -> TComponent* { return new T(owner); }; };
        add(static_cast<TLabel*>(nullptr));
        add(static_cast<TPanel*>(nullptr));
        add(static_cast<TGroupBox*>(nullptr));
        add(static_cast<TEdit*>(nullptr));
        add(static_cast<TLabeledEdit*>(nullptr));
        add(static_cast<TButton*>(nullptr));
        add(static_cast<TComboBox*>(nullptr));
        add(static_cast<TCheckBox*>(nullptr));
        add(static_cast<TRadioGroup*>(nullptr));
        add(static_cast<TCheckListBox*>(nullptr));
        add(static_cast<TStringGrid*>(nullptr));
        add(static_cast<TImage*>(nullptr));
        add(static_cast<TCGauge*>(nullptr));
        add(static_cast<TTimer*>(nullptr));
        add(static_cast<TOpenDialog*>(nullptr));
        return r;
    }();
    return registry;
}

}  // namespace

void RegisterComponentClass(const std::string& class_name, ComponentFactory factory) {
    Registry()[class_name] = std::move(factory);
}

bool IsComponentClass(std::string_view class_name) { return Registry().count(class_name) > 0; }

// ---- Reading ---------------------------------------------------------------------------

namespace {

struct Token {
    enum class Kind { End, Identifier, Number, Text, Symbol };
    Kind kind = Kind::End;
    std::string text;  // identifier, symbol, or the decoded text
    double number = 0;
    bool integral = true;
    int line = 1;
};

class Reader {
public:
    Reader(std::string_view file, std::string_view text) : file_(file), text_(text) { Advance(); }

    const Token& Peek() const { return token_; }
    Token Take() {
        Token t = token_;
        Advance();
        return t;
    }

    [[noreturn]] void Fail(int line, const std::string& message) const {
        throw Exception(std::string(file_) + ":" + std::to_string(line) + ": " + message);
    }

    bool IsWord(std::string_view word) const { return token_.kind == Token::Kind::Identifier && token_.text == word; }
    bool IsSymbol(char c) const {
        return token_.kind == Token::Kind::Symbol && token_.text.size() == 1 && token_.text[0] == c;
    }

    Token ExpectIdentifier(const char* what) {
        if (token_.kind != Token::Kind::Identifier) Fail(token_.line, std::string("expected ") + what);
        return Take();
    }
    void ExpectSymbol(char c, const char* what) {
        if (!IsSymbol(c)) Fail(token_.line, std::string("expected ") + what);
        Advance();
    }

private:
    void SkipSpace() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
            } else {
                break;
            }
        }
    }

    // Quoted parts and #codes written together: 'a'#10'b'.
    void ReadText() {
        token_.kind = Token::Kind::Text;
        std::string out;
        while (pos_ < text_.size()) {
            if (text_[pos_] == '\'') {
                ++pos_;
                while (true) {
                    if (pos_ >= text_.size() || text_[pos_] == '\n') Fail(token_.line, "unterminated quoted text");
                    if (text_[pos_] == '\'') {
                        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
                            out.push_back('\'');
                            pos_ += 2;
                            continue;
                        }
                        ++pos_;
                        break;
                    }
                    out.push_back(text_[pos_++]);
                }
            } else if (text_[pos_] == '#') {
                ++pos_;
                const bool hex = pos_ < text_.size() && text_[pos_] == '$';
                if (hex) ++pos_;
                const size_t start = pos_;
                while (pos_ < text_.size() && (hex ? std::isxdigit(static_cast<unsigned char>(text_[pos_]))
                                                   : std::isdigit(static_cast<unsigned char>(text_[pos_]))))
                    ++pos_;
                if (pos_ == start || pos_ - start > 7) Fail(token_.line, "expected a character code after #");
                const unsigned long code =
                    std::strtoul(std::string(text_.substr(start, pos_ - start)).c_str(), nullptr, hex ? 16 : 10);
                if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                    Fail(token_.line, "invalid character code #" + std::to_string(code));
                text::AppendUtf8(out, static_cast<char32_t>(code));
            } else {
                break;
            }
        }
        token_.text = std::move(out);
    }

    void ReadNumber() {
        token_.kind = Token::Kind::Number;
        const size_t start = pos_;
        if (text_[pos_] == '$') {
            ++pos_;
            const size_t digits = pos_;
            while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
            if (pos_ == digits || pos_ - digits > 8) Fail(token_.line, "invalid hexadecimal number");
            token_.number = static_cast<double>(std::strtoull(std::string(text_.substr(digits, pos_ - digits)).c_str(), nullptr, 16));
            token_.integral = true;
            return;
        }
        if (text_[pos_] == '-' || text_[pos_] == '+') ++pos_;
        bool digits = false;
        token_.integral = true;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_, digits = true;
        if (pos_ < text_.size() && text_[pos_] == '.') {
            token_.integral = false;
            ++pos_;
            while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_, digits = true;
        }
        if (digits && pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            token_.integral = false;
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+')) ++pos_;
            const size_t exp = pos_;
            while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
            if (pos_ == exp) digits = false;
        }
        if (!digits) Fail(token_.line, "invalid number");
        token_.number = std::strtod(std::string(text_.substr(start, pos_ - start)).c_str(), nullptr);
    }

    void Advance() {
        SkipSpace();
        token_ = Token{};
        token_.line = line_;
        if (pos_ >= text_.size()) return;
        const char c = text_[pos_];
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            token_.kind = Token::Kind::Identifier;
            const size_t start = pos_;
            while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
                ++pos_;
            token_.text = std::string(text_.substr(start, pos_ - start));
        } else if (c == '\'' || c == '#') {
            ReadText();
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '$' ||
                   ((c == '-' || c == '+') && pos_ + 1 < text_.size() &&
                    (std::isdigit(static_cast<unsigned char>(text_[pos_ + 1])) || text_[pos_ + 1] == '.'))) {
            ReadNumber();
        } else if (std::string_view("=:()[],+.").find(c) != std::string_view::npos) {
            token_.kind = Token::Kind::Symbol;
            token_.text = std::string(1, c);
            ++pos_;
        } else {
            Fail(line_, std::string("unexpected character '") + c + "'");
        }
    }

    std::string_view file_;
    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 1;
    Token token_;
};

template <class E>
bool AssignHandler(E* slot, const HandlerTable::Handler& handler) {
    if (const auto* f = std::get_if<E>(&handler)) {
        *slot = *f;
        return true;
    }
    return false;
}

class Loader {
public:
    Loader(TForm& form, std::string_view file, std::string_view text, const HandlerTable& handlers)
        : form_(form), reader_(file, text), handlers_(handlers) {}

    void Run() {
        struct FinishLoading {
            Loader& l;
            ~FinishLoading() {
                for (TComponent* c : l.created_) c->Loaded();
                l.form_.Loaded();
            }
        } finish{*this};

        if (!reader_.IsWord("object")) reader_.Fail(reader_.Peek().line, "expected object");
        ReadObject(nullptr);
        if (reader_.Peek().kind != Token::Kind::End) reader_.Fail(reader_.Peek().line, "text after the last end");
    }

private:
    // The object block at the reader; enclosing is nullptr for the form itself.
    void ReadObject(TComponent* enclosing) {
        const int line = reader_.Take().line;  // "object"
        const Token name = reader_.ExpectIdentifier("a component name after object");
        reader_.ExpectSymbol(':', "':' after the component name");
        const Token cls = reader_.ExpectIdentifier("a class name");

        TComponent* component = enclosing ? Create(enclosing, name, cls) : StartForm(name, cls);
        bool had_child = false;
        while (!reader_.IsWord("end")) {
            if (reader_.Peek().kind == Token::Kind::End)
                reader_.Fail(line, "object " + name.text + " has no end");
            if (reader_.IsWord("object")) {
                ReadObject(component);
                had_child = true;
            } else {
                // Children take their parent's font when they are made.
                if (had_child) reader_.Fail(reader_.Peek().line, "properties of " + name.text + " go before its objects");
                ReadProperty(component);
            }
        }
        reader_.Take();  // "end"
    }

    TComponent* StartForm(const Token& name, const Token& cls) {
        if (cls.text != "TForm" && cls.text != form_.ClassName())
            reader_.Fail(cls.line, "unknown class " + cls.text + " for the form");
        form_.BeginLoading();
        try {
            form_.SetName(name.text);
        } catch (const Exception& e) {
            reader_.Fail(name.line, e.Message());
        }
        return &form_;
    }

    TComponent* Create(TComponent* enclosing, const Token& name, const Token& cls) {
        auto it = Registry().find(cls.text);
        if (it == Registry().end()) reader_.Fail(cls.line, "unknown class " + cls.text);
        auto* container = dynamic_cast<TWinControl*>(enclosing);
        TComponent* component = it->second(&form_);
        if (!container && dynamic_cast<TControl*>(component)) {
            delete component;
            reader_.Fail(name.line, enclosing->Name() + " (" + enclosing->ClassName() + ") cannot hold the control " +
                                        name.text);
        }
        created_.push_back(component);
        component->BeginLoading();
        try {
            component->SetName(name.text);
        } catch (const Exception& e) {
            reader_.Fail(name.line, e.Message());
        }
        if (auto* control = dynamic_cast<TControl*>(component)) control->SetParent(container);
        return component;
    }

    LayoutValue ReadValue() {
        const Token& t = reader_.Peek();
        switch (t.kind) {
            case Token::Kind::Number: {
                Token n = reader_.Take();
                return LayoutValue::Number(n.number, n.integral);
            }
            case Token::Kind::Text: return LayoutValue::Text(ReadText());
            case Token::Kind::Identifier: return LayoutValue::Identifier(reader_.Take().text);
            case Token::Kind::Symbol:
                if (reader_.IsSymbol('[')) return ReadSet();
                if (reader_.IsSymbol('(')) return ReadList();
                break;
            case Token::Kind::End: break;
        }
        reader_.Fail(t.line, "expected a value");
    }

    // A quoted text, continued over lines with +.
    std::string ReadText() {
        std::string text = reader_.Take().text;
        while (reader_.IsSymbol('+')) {
            reader_.Take();
            if (reader_.Peek().kind != Token::Kind::Text)
                reader_.Fail(reader_.Peek().line, "expected a quoted text after +");
            text += reader_.Take().text;
        }
        return text;
    }

    LayoutValue ReadSet() {
        LayoutValue v;
        v.kind = LayoutValue::Kind::Set;
        reader_.Take();  // [
        if (reader_.IsSymbol(']')) {
            reader_.Take();
            return v;
        }
        while (true) {
            v.items.push_back(reader_.ExpectIdentifier("a set member").text);
            if (reader_.IsSymbol(']')) break;
            reader_.ExpectSymbol(',', "',' or ']' in the set");
        }
        reader_.Take();
        return v;
    }

    LayoutValue ReadList() {
        LayoutValue v;
        v.kind = LayoutValue::Kind::List;
        reader_.Take();  // (
        while (!reader_.IsSymbol(')')) {
            if (reader_.Peek().kind != Token::Kind::Text)
                reader_.Fail(reader_.Peek().line, "expected a quoted text or ')' in the list");
            v.items.push_back(ReadText());
        }
        reader_.Take();
        return v;
    }

    void ReadProperty(TComponent* component) {
        const int line = reader_.Peek().line;
        std::string path = reader_.ExpectIdentifier("a property name or end").text;
        while (reader_.IsSymbol('.')) {
            reader_.Take();
            path += "." + reader_.ExpectIdentifier("a property name after '.'").text;
        }
        reader_.ExpectSymbol('=', "'=' after the property name");
        const LayoutValue value = ReadValue();

        const std::string who = component->Name() + " (" + component->ClassName() + ")";
        EventSlot slot = component->LayoutEvent(path);
        if (!std::holds_alternative<std::monostate>(slot)) {
            if (value.kind != LayoutValue::Kind::Identifier)
                reader_.Fail(line, path + " of " + who + " expects a handler name");
            const HandlerTable::Handler* handler = handlers_.Find(value.text);
            if (!handler) reader_.Fail(line, "unknown handler " + value.text + " for " + path + " of " + who);
            const bool fits = std::visit(
                [handler](auto target) {
                    if constexpr (std::is_same_v<decltype(target), std::monostate>) return false;
                    else return AssignHandler(target, *handler);
                },
                slot);
            if (!fits) reader_.Fail(line, "the handler " + value.text + " does not suit " + path + " of " + who);
            return;
        }
        bool known = false;
        try {
            known = component->SetLayoutProperty(path, value);
        } catch (const Exception& e) {
            reader_.Fail(line, e.Message() + " (" + who + ")");
        }
        if (!known) reader_.Fail(line, "unknown property " + path + " of " + who);
    }

    TForm& form_;
    Reader reader_;
    const HandlerTable& handlers_;
    std::vector<TComponent*> created_;
};

}  // namespace

void LoadLayout(TForm& form, std::string_view file_name, std::string_view text, const HandlerTable& handlers) {
    Loader(form, file_name, text, handlers).Run();
}

}  // namespace ui
