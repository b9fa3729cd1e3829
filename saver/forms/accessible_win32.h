// Active Accessibility for the forms' own controls: each answers a screen
// reader's WM_GETOBJECT with an object that says what the control is, asked
// afresh at every question, and runs its default action later from the
// window's own messages, never inside the reader's call.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tremblix::forms {

// What a control is at this moment, in Active Accessibility's terms (ROLE_
// and STATE_SYSTEM_ numbers).
struct AccessibleFacts {
  long role = 0;
  std::wstring name, value, default_action;  // empty: none
  long state = 0;
  RECT location = {};  // on the screen
};

class AccessibleObject;

// A control's answer to readers; the control hands its messages to Handle
// first. It answers nothing until Describe is set.
class AccessibleAnswer {
 public:
  AccessibleAnswer() = default;
  AccessibleAnswer(const AccessibleAnswer&) = delete;
  AccessibleAnswer& operator=(const AccessibleAnswer&) = delete;
  ~AccessibleAnswer();

  std::function<AccessibleFacts()> Describe;
  // Runs from a message posted to the control's window.
  std::function<void()> DoDefaultAction;
  // The window whose object a reader meets at every point of this one, and
  // that takes the focus for it: a choice's mark stands for the choice its
  // caption's window answers for.
  HWND stands_for = nullptr;

  // Describe and DoDefaultAction, and the state readers start from.
  void Connect(std::function<AccessibleFacts()> describe, std::function<void()> action);

  // WM_GETOBJECT for the client area, the posted default action and the
  // posted word of a change: true when answered, with the result. At
  // WM_NCDESTROY the object is disconnected (and the message left to the
  // window).
  bool Handle(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

  // The control's state may have changed where Windows cannot see it:
  // readers hear of it once the control's messages come round, if it has,
  // so that a change made in several steps is told once.
  void StateMayHaveChanged(HWND hwnd);

  // Readers that hold the object hear that it has gone; a later question
  // makes a new one.
  void Disconnect();

 private:
  AccessibleObject* object_ = nullptr;
  long told_state_ = 0;
  bool tell_posted_ = false;
};

// Names a window of Windows' own (a combo box, its edit field) beside its
// own object, which tells everything else about it; cleared before the
// window goes. Replaced in tests.
class AccessibleNames {
 public:
  virtual ~AccessibleNames() = default;
  virtual HRESULT Name(HWND hwnd, const std::wstring& name) = 0;
  virtual HRESULT Clear(HWND hwnd) = 0;
};

// Dynamic Annotation (IAccPropServices), on this thread's COM apartment.
AccessibleNames& PlatformAccessibleNames();

// The focus stands on the object of hwnd, which does not hold it itself.
void TellFocusOn(HWND hwnd);

// COM on this thread, single-threaded, for as long as it lives: readers in
// other processes reach the objects through it.
class ComApartment {
 public:
  ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment();

 private:
  bool initialised_ = false;
};

}  // namespace tremblix::forms
