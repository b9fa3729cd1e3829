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

AccessibleAnswer::~AccessibleAnswer() { Disconnect(); }

void AccessibleAnswer::Disconnect() {
  if (!object_) return;
  object_->Disconnect();
  // Readers that still hold it hear that it has gone.
  CoDisconnectObject(static_cast<IAccessible*>(object_), 0);
  object_->Release();
  object_ = nullptr;
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
  if (message == WM_NCDESTROY) {
    Disconnect();
    return false;
  }
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

// Dynamic Annotation: Windows keeps the name beside the control's own
// object, which answers everything else itself.
class AnnotatedNames final : public AccessibleNames {
 public:
  HRESULT Name(HWND hwnd, const std::wstring& name) override {
    return WithServices([&](IAccPropServices* services) {
      return services->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                      kNameProperty, name.c_str());
    });
  }
  HRESULT Clear(HWND hwnd) override {
    return WithServices([&](IAccPropServices* services) {
      return services->ClearHwndProps(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                      &kNameProperty, 1);
    });
  }

 private:
  // PROPID_ACC_NAME.
  static constexpr GUID kNameProperty = {
      0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

  template <typename Call>
  static HRESULT WithServices(Call call) {
    IAccPropServices* services = nullptr;
    HRESULT hr = CoCreateInstance(kServicesClass, nullptr, CLSCTX_INPROC_SERVER, kServicesInterface,
                                  reinterpret_cast<void**>(&services));
    if (FAILED(hr) || !services) return FAILED(hr) ? hr : E_FAIL;
    hr = call(services);
    services->Release();
    return hr;
  }
  // CLSID_AccPropServices and IID_IAccPropServices.
  static constexpr GUID kServicesClass = {
      0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
  static constexpr GUID kServicesInterface = {
      0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
};

}  // namespace

AccessibleNames& PlatformAccessibleNames() {
  static AnnotatedNames names;
  return names;
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
