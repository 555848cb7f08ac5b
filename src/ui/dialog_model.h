#pragma once
// A modal dialog without a toolkit: its id (the dialog template), its controls with ids,
// kinds, values and limits, and its handlers (a click on a button, OK with its validation).
// The wx front-end shows a model with the template of the same id, the console front-end
// as `dialog` events, and tests drive it directly. Texts are CP932; an edit's limit is in
// bytes, so a limit of 8 takes four double-byte characters.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tamvel {

/// RunDialog's results, as the original's IDOK and IDCANCEL.
inline constexpr int kDialogOk = 1;
inline constexpr int kDialogCancel = 2;

/// The kinds of controls a model holds.
enum class ControlKind {
    Edit,     ///< a text: `text`, limited to `maxBytes` (0: no limit)
    Check,    ///< a check box: `checked`; a click toggles it, then runs its handler
    Radio,    ///< a radio button: `checked`; a click sets it, then runs its handler
    ListBox,  ///< a list: `lines`
    Button,   ///< a push button: its click handler
};

class DialogModel;

/// A click handler; it may change any control of the dialog.
using DialogHandler = std::function<void(DialogModel&)>;
/// OK's validation: true lets the dialog close, false keeps it open (after telling the
/// person why).
using DialogValidator = std::function<bool(DialogModel&)>;

/// One control of a dialog.
struct DialogControl {
    int id = 0;
    ControlKind kind = ControlKind::Edit;
    std::string text;
    std::size_t maxBytes = 0;
    bool readOnly = false;  ///< an edit only the program writes
    bool checked = false;
    std::vector<std::string> lines;
    bool enabled = true;
    /// An edit that holds a full Windows path: the console refuses a relative one typed.
    bool absolutePath = false;
    DialogHandler onClick;
};

class DialogModel {
  public:
    /// A dialog shown with template `id`.
    explicit DialogModel(int id) : m_id(id) {}

    int Id() const { return m_id; }

    /// Adds a control; its id must be new in this dialog. The control as added.
    DialogControl& Add(DialogControl control);
    /// An edit holding `text`, limited to `maxBytes` (0: no limit).
    DialogControl& AddEdit(int id, std::size_t maxBytes = 0, std::string_view text = {});
    /// A check box.
    DialogControl& AddCheck(int id, bool checked = false);
    /// A radio button; radio buttons added one after another form a group.
    DialogControl& AddRadio(int id, bool checked = false);
    /// A list box with `lines`.
    DialogControl& AddList(int id, std::vector<std::string> lines = {});
    /// A push button running `onClick`.
    DialogControl& AddButton(int id, DialogHandler onClick = {});
    /// The control with `id`, or nullptr.
    DialogControl* Find(int id);
    const DialogControl* Find(int id) const;
    /// Every control in the order added.
    const std::vector<DialogControl>& Controls() const { return m_controls; }

    /// An edit's text ("" for none).
    std::string Text(int id) const;
    /// Sets an edit's text as the program does (the limit does not apply).
    void SetText(int id, std::string_view text);
    /// Replaces an edit's text as if typed character by character: characters that would
    /// take it beyond its limit are refused. False when some were refused or there is no
    /// such enabled edit that may be typed into.
    bool Type(int id, std::string_view text);
    /// A check or radio box's state.
    bool Checked(int id) const;
    /// Sets a check box; a radio button that is set clears the radio buttons added with it
    /// (those that follow each other in the dialog, as a group does).
    void SetChecked(int id, bool checked);

    /// A click on control `id`: a check box toggles and a radio button is set first, as
    /// automatic boxes do; then its handler runs. False when there is no such enabled button
    /// or box.
    bool Click(int id);
    /// Runs the click handler of a box that the toolkit has already toggled or set.
    bool RunClickHandler(int id);
    /// Sets what runs once the dialog is shown with its values (none: nothing).
    void SetInitHandler(DialogHandler onInit) { m_onInit = std::move(onInit); }
    /// The dialog is shown: runs the init handler.
    void Init();
    /// The OK button: runs the validation; true when the dialog may close.
    bool Ok();
    /// Sets OK's validation (none: OK always closes).
    void SetValidator(DialogValidator validator) { m_validator = std::move(validator); }

  private:
    int m_id;
    std::vector<DialogControl> m_controls;
    DialogValidator m_validator;
    DialogHandler m_onInit;
};

}  // namespace tamvel
