#include "saver/forms/accessible_win32.h"

#include <ole2.h>
#include <oleacc.h>

#include <optional>

namespace tremblix::forms {
namespace {

UINT DefaultActionMessage() {
  static const UINT message = RegisterWindowMessageW(L"Tremblix.DoDefaultAction");
  return message;
}

UINT TellStateMessage() {
  static const UINT message = RegisterWindowMessageW(L"Tremblix.TellState");
  return message;
}

// Windows tells the focus itself.
long StateToTell(const AccessibleFacts& facts) { return facts.state & ~STATE_SYSTEM_FOCUSED; }

bool IsClient(LPARAM lparam) {
  return static_cast<DWORD>(lparam) == static_cast<DWORD>(OBJID_CLIENT);
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// A text for the reader, or S_FALSE and nothing for none.
HRESULT TextAnswer(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT NumberAnswer(long number, VARIANT* out) {
  if (!out) return E_POINTER;
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = number;
  return S_OK;
}

}  // namespace

// The object a reader holds. It keeps no facts of its own: it asks its
// answer each time, and says it is gone once the control has gone.
class AccessibleObject final : public IAccessible, public IOleWindow {
 public:
  AccessibleObject(HWND hwnd, AccessibleAnswer* answer) : hwnd_(hwnd), answer_(answer) {}
  void Disconnect() { answer_ = nullptr; }

  // IUnknown.
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
        riid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
    } else if (riid == __uuidof(IOleWindow)) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: readers call the methods directly.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible: one object, no children.
  STDMETHODIMP get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!Facts()) return CO_E_OBJNOTCONNECTED;
    return AccessibleObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                      reinterpret_cast<void**>(parent));
  }
  STDMETHODIMP get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP get_accChild(VARIANT, IDispatch** child) override {
    if (child) *child = nullptr;
    return E_INVALIDARG;
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
    return AskText(child, name, [](const AccessibleFacts& f) { return f.name; });
  }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
    return AskText(child, value, [](const AccessibleFacts& f) { return f.value; });
  }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override {
    return AskText(child, description, [](const AccessibleFacts&) { return std::wstring(); });
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
    if (role) VariantInit(role);
    return Ask(child, [&](const AccessibleFacts& f) { return NumberAnswer(f.role, role); });
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
    if (state) VariantInit(state);
    return Ask(child, [&](const AccessibleFacts& f) { return NumberAnswer(f.state, state); });
  }
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override {
    return AskText(child, help, [](const AccessibleFacts&) { return std::wstring(); });
  }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return DISP_E_MEMBERNOTFOUND;
  }
  // No access keys: the captions are the system's own texts.
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return AskText(child, shortcut, [](const AccessibleFacts&) { return std::wstring(); });
  }
  STDMETHODIMP get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    const std::optional<AccessibleFacts> f = Facts();
    if (!f) return CO_E_OBJNOTCONNECTED;
    if (!(f->state & STATE_SYSTEM_FOCUSED)) return S_FALSE;
    return NumberAnswer(CHILDID_SELF, focus);
  }
  STDMETHODIMP get_accSelection(VARIANT* selection) override {
    if (selection) VariantInit(selection);
    return DISP_E_MEMBERNOTFOUND;
  }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
    return AskText(child, action, [](const AccessibleFacts& f) { return f.default_action; });
  }
  // Taking the focus is no action of the control's: Windows' own objects
  // take it at once too.
  STDMETHODIMP accSelect(LONG flags, VARIANT child) override {
    return Ask(child, [&](const AccessibleFacts& f) -> HRESULT {
      if (flags != SELFLAG_TAKEFOCUS) return DISP_E_MEMBERNOTFOUND;
      if (!(f.state & STATE_SYSTEM_FOCUSABLE)) return S_FALSE;
      SetFocus(answer_->stands_for ? answer_->stands_for : hwnd_);
      return S_OK;
    });
  }
  STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                           VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    return Ask(child, [&](const AccessibleFacts& f) {
      *left = f.location.left;
      *top = f.location.top;
      *width = f.location.right - f.location.left;
      *height = f.location.bottom - f.location.top;
      return S_OK;
    });
  }
  // Its siblings are its window's: the parent tells them.
  STDMETHODIMP accNavigate(LONG, VARIANT, VARIANT* end) override {
    if (end) VariantInit(end);
    return DISP_E_MEMBERNOTFOUND;
  }
  STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* found) override {
    if (!found) return E_POINTER;
    VariantInit(found);
    const std::optional<AccessibleFacts> f = Facts();
    if (!f) return CO_E_OBJNOTCONNECTED;
    const POINT point = {x, y};
    if (!PtInRect(&f->location, point)) return S_FALSE;
    if (!answer_->stands_for) return NumberAnswer(CHILDID_SELF, found);
    IDispatch* other = nullptr;
    const HRESULT hr =
        AccessibleObjectFromWindow(answer_->stands_for, static_cast<DWORD>(OBJID_CLIENT),
                                   __uuidof(IDispatch), reinterpret_cast<void**>(&other));
    if (FAILED(hr) || !other) return NumberAnswer(CHILDID_SELF, found);
    found->vt = VT_DISPATCH;
    found->pdispVal = other;
    return S_OK;
  }
  // Posted: the action may open a window of its own (the file chooser) and
  // must not run while the reader waits for this call.
  STDMETHODIMP accDoDefaultAction(VARIANT child) override {
    return Ask(child, [&](const AccessibleFacts& f) -> HRESULT {
      if (f.default_action.empty()) return DISP_E_MEMBERNOTFOUND;
      return PostMessageW(hwnd_, DefaultActionMessage(), 0, 0) ? S_OK : E_FAIL;
    });
  }
  STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  // IOleWindow.
  STDMETHODIMP GetWindow(HWND* hwnd) override {
    if (!hwnd) return E_POINTER;
    *hwnd = hwnd_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

 private:
  ~AccessibleObject() = default;

  std::optional<AccessibleFacts> Facts() const {
    if (!answer_ || !answer_->Describe || !IsWindow(hwnd_)) return std::nullopt;
    return answer_->Describe();
  }

  // The question about the object itself, answered from its facts.
  template <typename Answer>
  HRESULT Ask(const VARIANT& child, Answer answer, BSTR* text = nullptr) {
    if (text) *text = nullptr;
    if (!IsSelf(child)) return E_INVALIDARG;
    const std::optional<AccessibleFacts> f = Facts();
    if (!f) return CO_E_OBJNOTCONNECTED;
    return answer(*f);
  }

  template <typename Pick>
  HRESULT AskText(const VARIANT& child, BSTR* text, Pick pick) {
    return Ask(
        child, [&](const AccessibleFacts& f) { return TextAnswer(pick(f), text); }, text);
  }

  LONG references_ = 1;
  HWND hwnd_;
  AccessibleAnswer* answer_;
};

AccessibleAnswer::~AccessibleAnswer() {
  if (!object_) return;
  object_->Disconnect();
  // Readers that still hold it hear that it has gone.
  CoDisconnectObject(static_cast<IAccessible*>(object_), 0);
  object_->Release();
}

void AccessibleAnswer::Connect(std::function<AccessibleFacts()> describe,
                               std::function<void()> action) {
  Describe = std::move(describe);
  DoDefaultAction = std::move(action);
  if (Describe) told_state_ = StateToTell(Describe());
}

void AccessibleAnswer::StateMayHaveChanged(HWND hwnd) {
  if (!Describe || tell_posted_) return;
  tell_posted_ = PostMessageW(hwnd, TellStateMessage(), 0, 0) != FALSE;
}

bool AccessibleAnswer::Handle(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                              LRESULT& result) {
  if (message == WM_GETOBJECT) {
    if (!Describe || !IsClient(lparam)) return false;
    if (!object_) object_ = new AccessibleObject(hwnd, this);
    result = LresultFromObject(__uuidof(IAccessible), wparam, static_cast<IAccessible*>(object_));
    return true;
  }
  if (message == DefaultActionMessage()) {
    if (DoDefaultAction) DoDefaultAction();
    result = 0;
    return true;
  }
  if (message == TellStateMessage()) {
    tell_posted_ = false;
    const long state = Describe ? StateToTell(Describe()) : told_state_;
    if (state != told_state_) {
      NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
    }
    told_state_ = state;
    result = 0;
    return true;
  }
  return false;
}

// --- Windows' own controls, named ---------------------------------------------

namespace {

constexpr wchar_t kNamedProperty[] = L"Tremblix.AccessibleName";

// The standard object with one answer of ours: the name.
class NamedStandardObject final : public IAccessible {
 public:
  NamedStandardObject(IAccessible* standard, std::wstring name)
      : standard_(standard), name_(std::move(name)) {
    standard_->AddRef();
  }

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
        riid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    // Its children and its window are the standard object's.
    return standard_->QueryInterface(riid, out);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
  STDMETHODIMP GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override {
    return standard_->GetTypeInfo(i, l, t);
  }
  STDMETHODIMP GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
    return standard_->GetIDsOfNames(r, n, c, l, d);
  }
  STDMETHODIMP Invoke(DISPID d, REFIID r, LCID l, WORD w, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                      UINT* a) override {
    return standard_->Invoke(d, r, l, w, p, v, e, a);
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return standard_->get_accName(child, name);
    return TextAnswer(name_, name);
  }
  STDMETHODIMP get_accParent(IDispatch** p) override { return standard_->get_accParent(p); }
  STDMETHODIMP get_accChildCount(LONG* c) override { return standard_->get_accChildCount(c); }
  STDMETHODIMP get_accChild(VARIANT v, IDispatch** c) override {
    return standard_->get_accChild(v, c);
  }
  STDMETHODIMP get_accValue(VARIANT v, BSTR* s) override { return standard_->get_accValue(v, s); }
  STDMETHODIMP get_accDescription(VARIANT v, BSTR* s) override {
    return standard_->get_accDescription(v, s);
  }
  STDMETHODIMP get_accRole(VARIANT v, VARIANT* r) override { return standard_->get_accRole(v, r); }
  STDMETHODIMP get_accState(VARIANT v, VARIANT* s) override {
    return standard_->get_accState(v, s);
  }
  STDMETHODIMP get_accHelp(VARIANT v, BSTR* s) override { return standard_->get_accHelp(v, s); }
  STDMETHODIMP get_accHelpTopic(BSTR* f, VARIANT v, LONG* t) override {
    return standard_->get_accHelpTopic(f, v, t);
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT v, BSTR* s) override {
    return standard_->get_accKeyboardShortcut(v, s);
  }
  STDMETHODIMP get_accFocus(VARIANT* v) override { return standard_->get_accFocus(v); }
  STDMETHODIMP get_accSelection(VARIANT* v) override { return standard_->get_accSelection(v); }
  STDMETHODIMP get_accDefaultAction(VARIANT v, BSTR* s) override {
    return standard_->get_accDefaultAction(v, s);
  }
  STDMETHODIMP accSelect(LONG f, VARIANT v) override { return standard_->accSelect(f, v); }
  STDMETHODIMP accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT v) override {
    return standard_->accLocation(x, y, w, h, v);
  }
  STDMETHODIMP accNavigate(LONG d, VARIANT s, VARIANT* e) override {
    return standard_->accNavigate(d, s, e);
  }
  STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* v) override {
    return standard_->accHitTest(x, y, v);
  }
  STDMETHODIMP accDoDefaultAction(VARIANT v) override { return standard_->accDoDefaultAction(v); }
  STDMETHODIMP put_accName(VARIANT v, BSTR s) override { return standard_->put_accName(v, s); }
  STDMETHODIMP put_accValue(VARIANT v, BSTR s) override { return standard_->put_accValue(v, s); }

 private:
  ~NamedStandardObject() { standard_->Release(); }

  LONG references_ = 1;
  IAccessible* standard_;
  std::wstring name_;
};

struct Named {
  WNDPROC previous;
  std::wstring name;
};

LRESULT CALLBACK NamedWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* named = static_cast<Named*>(GetPropW(hwnd, kNamedProperty));
  if (!named) return DefWindowProcW(hwnd, message, wparam, lparam);
  const WNDPROC previous = named->previous;
  if (message == WM_GETOBJECT && IsClient(lparam)) {
    IAccessible* standard = nullptr;
    if (SUCCEEDED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&standard))) &&
        standard) {
      auto* object = new NamedStandardObject(standard, named->name);
      standard->Release();
      const LRESULT result = LresultFromObject(__uuidof(IAccessible), wparam, object);
      object->Release();
      return result;
    }
  }
  if (message == WM_NCDESTROY) {
    RemovePropW(hwnd, kNamedProperty);
    delete named;
  }
  return CallWindowProcW(previous, hwnd, message, wparam, lparam);
}

}  // namespace

void NameStandardObject(HWND hwnd, const std::wstring& name) {
  if (!hwnd) return;
  if (auto* named = static_cast<Named*>(GetPropW(hwnd, kNamedProperty))) {
    named->name = name;
    return;
  }
  auto* named = new Named{nullptr, name};
  SetPropW(hwnd, kNamedProperty, named);
  named->previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NamedWindowProc)));
}

void TellFocusOn(HWND hwnd) {
  if (hwnd && GetFocus() != hwnd) {
    NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, CHILDID_SELF);
  }
}

ComApartment::ComApartment()
    : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ComApartment::~ComApartment() {
  if (initialised_) CoUninitialize();
}

}  // namespace tremblix::forms
