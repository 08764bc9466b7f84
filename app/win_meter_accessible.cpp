#include "app/win_meter_accessible.h"

#include <oleacc.h>

#include <atomic>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "win32/win_system_functions.h"
#include "win32/win_text.h"

namespace ripplet {
namespace {

// Found when first needed: the program starts without the accessibility libraries, and
// loads them only when an assistive program asks for the tree.
bool AccessLibraryFound() noexcept {
  const SystemFunctions& system = System();
  return system.LresultFromObject && system.AccessibleObjectFromWindow &&
         system.SysAllocStringLen && system.CoInitializeEx && system.CoUninitialize;
}

// The values are read-only texts, not static ones: a reader that goes through UI Automation
// (Narrator) gives plain text no value, and would say the caption without the rate.
constexpr LONG kRoles[] = {ROLE_SYSTEM_PANE, ROLE_SYSTEM_CHART, ROLE_SYSTEM_TEXT, ROLE_SYSTEM_TEXT};

void SetI4(VARIANT* v, LONG value) noexcept {
  v->vt = VT_I4;
  v->lVal = value;
}

void SetEmpty(VARIANT* v) noexcept { v->vt = VT_EMPTY; }

HRESULT ReturnText(std::wstring_view text, BSTR* out) noexcept {
  *out = System().SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

#pragma GCC diagnostic push
// IAccessible (a system header) has no virtual destructor; Release deletes as the own type.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// The client object. Child ids 1 to 3 are simple elements (no objects of their own).
class MeterAccessibleObject final : public IAccessible {
 public:
  MeterAccessibleObject(HWND window, const MeterFacts& facts) noexcept
      : window_(window), facts_(facts) {}

  // The window is gone: every call from now on fails as disconnected.
  void Disconnect() noexcept {
    window_ = nullptr;
    facts_ = {};
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: no type information; clients call the IAccessible methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  // The outputs are filled all the same: a caller may read or free them whatever we answer.
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID,
                                          DISPID* ids) override {
    if (ids != nullptr) {
      for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    }
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argument_error) override {
    if (result != nullptr) SetEmpty(result);
    if (exception != nullptr) std::memset(exception, 0, sizeof(*exception));
    if (argument_error != nullptr) *argument_error = 0;
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (parent == nullptr) return E_POINTER;
    *parent = nullptr;
    if (Gone()) return CO_E_OBJNOTCONNECTED;
    return System().AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW),
                                               __uuidof(IDispatch),
                                               reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (count == nullptr) return E_POINTER;
    if (Gone()) return CO_E_OBJNOTCONNECTED;
    *count = kMeterPartCount;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (Gone()) return CO_E_OBJNOTCONNECTED;
    const int id = ChildId(child);
    return id >= 1 ? S_FALSE : E_INVALIDARG;  // simple elements: no object of their own
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Text(child, name, [this](int id) -> std::wstring {
      if (id != kMeterSelf) return std::wstring(MeterPartName(id));
      return WindowText(window_);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Text(child, value, [this](int id) -> std::optional<std::wstring> {
      if (id == kMeterRecv) return *facts_.RecvText;
      if (id == kMeterSend) return *facts_.SendText;
      return std::nullopt;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return Text(child, description, [this](int id) -> std::optional<std::wstring> {
      const std::wstring_view unit = UnitInWords(*facts_.Unit);
      switch (id) {
        case kMeterSelf:
          return MeterSummary(*facts_.RecvText, *facts_.SendText, unit);
        case kMeterGraph:
          if (facts_.GraphDescription == nullptr || facts_.GraphDescription->empty()) break;
          return *facts_.GraphDescription;
        default:
          return std::wstring(unit);
      }
      return std::nullopt;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (role == nullptr) return E_POINTER;
    SetEmpty(role);
    const HRESULT valid = Check(child);
    if (valid != S_OK) return valid;
    SetI4(role, kRoles[ChildId(child)]);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (state == nullptr) return E_POINTER;
    SetEmpty(state);
    const HRESULT valid = Check(child);
    if (valid != S_OK) return valid;
    const int id = ChildId(child);
    const bool window_shown = ::IsWindowVisible(window_) != FALSE;
    LONG bits = 0;
    if (id == kMeterSelf) {
      bits = STATE_SYSTEM_FOCUSABLE;
      if (!window_shown) bits |= STATE_SYSTEM_INVISIBLE;
      if (::GetFocus() == window_) bits |= STATE_SYSTEM_FOCUSED;
    } else {
      if (id != kMeterGraph) bits |= STATE_SYSTEM_READONLY;
      if (!window_shown || !View()[static_cast<size_t>(id - 1)].Shown) {
        bits |= STATE_SYSTEM_INVISIBLE;
      }
    }
    SetI4(state, bits);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return Text(child, help, [](int) { return std::optional<std::wstring>(); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    if (file == nullptr || topic == nullptr) return E_POINTER;
    *file = nullptr;
    *topic = 0;
    const HRESULT valid = Check(child);
    return valid != S_OK ? valid : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return Text(child, shortcut, [](int) { return std::optional<std::wstring>(); });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (focus == nullptr) return E_POINTER;
    SetEmpty(focus);
    if (Gone()) return CO_E_OBJNOTCONNECTED;
    if (::GetFocus() != window_) return S_FALSE;
    SetI4(focus, CHILDID_SELF);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection == nullptr) return E_POINTER;
    SetEmpty(selection);
    return Gone() ? CO_E_OBJNOTCONNECTED : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Text(child, action, [](int) { return std::optional<std::wstring>(); });
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    const HRESULT valid = Check(child);
    if (valid != S_OK) return valid;
    constexpr LONG kKnownFlags = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION |
                                 SELFLAG_EXTENDSELECTION | SELFLAG_ADDSELECTION |
                                 SELFLAG_REMOVESELECTION;
    if ((flags & ~kKnownFlags) != 0) return E_INVALIDARG;
    // Nothing here can be selected, and only the client object takes the focus.
    if (flags != SELFLAG_TAKEFOCUS || ChildId(child) != kMeterSelf) return DISP_E_MEMBERNOTFOUND;
    // Hidden (under the pointer), the meter cannot be focused until it shows again.
    if (!::IsWindowVisible(window_)) return E_FAIL;
    ::SetForegroundWindow(window_);
    ::SetFocus(window_);
    return ::GetFocus() == window_ ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
      return E_POINTER;
    }
    *left = *top = *width = *height = 0;
    const HRESULT valid = Check(child);
    if (valid != S_OK) return valid;
    const int id = ChildId(child);
    RECT client{};
    ::GetClientRect(window_, &client);
    LayoutRect r{0, 0, client.right, client.bottom};
    if (id != kMeterSelf) r = View()[static_cast<size_t>(id - 1)].Rect;
    POINT origin{r.Left, r.Top};
    ::ClientToScreen(window_, &origin);
    *left = origin.x;
    *top = origin.y;
    *width = r.Width;
    *height = r.Height;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    if (end == nullptr) return E_POINTER;
    SetEmpty(end);
    const HRESULT valid = Check(start);
    if (valid != S_OK) return valid;
    const int id = ChildId(start);
    int to = 0;
    switch (direction) {
      case NAVDIR_FIRSTCHILD:
      case NAVDIR_LASTCHILD:
        if (id != kMeterSelf) return S_FALSE;  // simple elements have no children
        to = direction == NAVDIR_FIRSTCHILD ? 1 : kMeterPartCount;
        break;
      case NAVDIR_NEXT:
      case NAVDIR_PREVIOUS:
        // The client's own siblings are the parent's to say.
        if (id == kMeterSelf) return S_FALSE;
        to = direction == NAVDIR_NEXT ? id + 1 : id - 1;
        if (to < 1 || to > kMeterPartCount) return S_FALSE;
        break;
      case NAVDIR_UP:
      case NAVDIR_DOWN:
      case NAVDIR_LEFT:
      case NAVDIR_RIGHT:
        return S_FALSE;
      default:
        return E_INVALIDARG;
    }
    SetI4(end, to);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* found) override {
    if (found == nullptr) return E_POINTER;
    SetEmpty(found);
    if (Gone()) return CO_E_OBJNOTCONNECTED;
    POINT p{x, y};
    ::ScreenToClient(window_, &p);
    RECT client{};
    ::GetClientRect(window_, &client);
    if (!::IsWindowVisible(window_) || !::PtInRect(&client, p)) return S_FALSE;
    SetI4(found, MeterPartAt(View(), p.x, p.y));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    const HRESULT valid = Check(child);
    return valid != S_OK ? valid : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override {
    return Gone() ? CO_E_OBJNOTCONNECTED : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override {
    return Gone() ? CO_E_OBJNOTCONNECTED : E_NOTIMPL;
  }

 private:
  ~MeterAccessibleObject() = default;  // only Release ends it

  bool Gone() const noexcept { return window_ == nullptr; }
  MeterView View() const noexcept { return ViewOf(*facts_.Layout); }

  // The child id a VARIANT names, or -1 when it names none of ours.
  static int ChildId(const VARIANT& child) noexcept {
    if (child.vt != VT_I4 || child.lVal < CHILDID_SELF || child.lVal > kMeterPartCount) {
      return -1;
    }
    return static_cast<int>(child.lVal);
  }
  HRESULT Check(const VARIANT& child) const noexcept {
    if (Gone()) return CO_E_OBJNOTCONNECTED;
    return ChildId(child) < 0 ? E_INVALIDARG : S_OK;
  }

  // A text property: `text_of(id)` gives the text, or nothing where the part has none.
  template <class TextOf>
  HRESULT Text(const VARIANT& child, BSTR* out, TextOf text_of) noexcept {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    const HRESULT valid = Check(child);
    if (valid != S_OK) return valid;
    try {
      const std::optional<std::wstring> text = text_of(ChildId(child));
      return text ? ReturnText(*text, out) : DISP_E_MEMBERNOTFOUND;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }

  std::atomic<ULONG> references_{1};
  HWND window_;
  MeterFacts facts_;
};
#pragma GCC diagnostic pop

MeterAccessible::~MeterAccessible() {
  Disconnect();
  // Released here, after the window: the platform may still hold our stub until then.
  if (com_initialized_) System().CoUninitialize();
}

std::optional<LRESULT> MeterAccessible::Answer(HWND window, WPARAM wparam, LPARAM lparam) {
  // Object ids are 32-bit; a 64-bit lparam may carry them sign-extended or not.
  if (static_cast<DWORD>(lparam) != static_cast<DWORD>(OBJID_CLIENT) || disconnected_) {
    return std::nullopt;
  }
  if (!AccessLibraryFound()) return std::nullopt;
  const SystemFunctions& library = System();
  if (!com_initialized_) {
    // Handing the object to another process marshals it, which needs this thread in a
    // single-threaded apartment (the program enters it before any window exists). Where
    // something put the thread in the multithreaded one, a reader's calls would come on
    // other threads and race the tick and the shutdown: no tree then, the system answers.
    const HRESULT result = library.CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(result)) return std::nullopt;
    com_initialized_ = true;
  }
  if (object_ == nullptr) {
    object_ = new (std::nothrow) MeterAccessibleObject(window, facts_);
    if (object_ == nullptr) return std::nullopt;
  }
  const LRESULT answer = library.LresultFromObject(__uuidof(IAccessible), wparam, object_);
  if (FAILED(static_cast<HRESULT>(answer))) return std::nullopt;
  return answer;
}

// Nobody sees a hidden window (not yet shown, or hidden under the pointer): it raises no
// value or place events, and says once that its places changed when it shows again.
void MeterAccessible::TextsChanged(HWND window, bool recv, bool send) noexcept {
  if (disconnected_ || !::IsWindowVisible(window)) return;
  const MeterView view = ViewOf(*facts_.Layout);
  for (const auto& [changed, part] : {std::pair{recv, kMeterRecv}, {send, kMeterSend}}) {
    if (changed && view[static_cast<std::size_t>(part - 1)].Shown) {
      ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, part);
    }
  }
  LayoutChanged(window);
}

void MeterAccessible::DescriptionChanged(HWND window) noexcept {
  if (disconnected_) return;
  ::NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window, OBJID_CLIENT, kMeterGraph);
}

void MeterAccessible::UnitApplied(HWND window) noexcept {
  const std::wstring_view words = UnitInWords(*facts_.Unit);
  if (words == described_unit_) return;
  const bool first = described_unit_.empty();
  described_unit_ = words;
  if (first || disconnected_) return;
  // The values' descriptions, and the client's, which names the unit too.
  for (LONG part : {LONG{CHILDID_SELF}, LONG{kMeterRecv}, LONG{kMeterSend}}) {
    ::NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window, OBJID_CLIENT, part);
  }
}

void MeterAccessible::LayoutChanged(HWND window) noexcept {
  if (disconnected_ || !::IsWindowVisible(window)) return;
  const MeterView now = ViewOf(*facts_.Layout);
  const PartChanges changes = ChangesOf(reported_, now);
  reported_ = now;
  for (int part = 1; part <= kMeterPartCount; ++part) {
    DWORD event = 0;
    switch (changes[static_cast<std::size_t>(part - 1)]) {
      case PartChange::kShown:
        event = EVENT_OBJECT_SHOW;
        break;
      case PartChange::kHidden:
        event = EVENT_OBJECT_HIDE;
        break;
      case PartChange::kMoved:
        event = EVENT_OBJECT_LOCATIONCHANGE;
        break;
      case PartChange::kNone:
        continue;
    }
    ::NotifyWinEvent(event, window, OBJID_CLIENT, part);
  }
}

void MeterAccessible::WindowShown(HWND window) noexcept {
  if (disconnected_) return;
  reported_ = ViewOf(*facts_.Layout);
  ::NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

void MeterAccessible::Disconnect() noexcept {
  disconnected_ = true;
  if (object_ == nullptr) return;
  object_->Disconnect();
  object_->Release();
  object_ = nullptr;
}

}  // namespace ripplet
