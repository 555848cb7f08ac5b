#include "ui/dialog_model.h"

#include <algorithm>

#include "platform/text.h"

namespace tamvel {
namespace {

DialogControl NewControl(int id, ControlKind kind) {
    DialogControl control;
    control.id = id;
    control.kind = kind;
    return control;
}

}  // namespace

DialogControl& DialogModel::Add(DialogControl control) {
    m_controls.push_back(std::move(control));
    return m_controls.back();
}

DialogControl& DialogModel::AddEdit(int id, std::size_t maxBytes, std::string_view text) {
    DialogControl& control = Add(NewControl(id, ControlKind::Edit));
    control.maxBytes = maxBytes;
    control.text = std::string(text);
    return control;
}

DialogControl& DialogModel::AddCheck(int id, bool checked) {
    DialogControl& control = Add(NewControl(id, ControlKind::Check));
    control.checked = checked;
    return control;
}

DialogControl& DialogModel::AddRadio(int id, bool checked) {
    DialogControl& control = Add(NewControl(id, ControlKind::Radio));
    control.checked = checked;
    return control;
}

DialogControl& DialogModel::AddList(int id, std::vector<std::string> lines) {
    DialogControl& control = Add(NewControl(id, ControlKind::ListBox));
    control.lines = std::move(lines);
    return control;
}

DialogControl& DialogModel::AddButton(int id, DialogHandler onClick) {
    DialogControl& control = Add(NewControl(id, ControlKind::Button));
    control.onClick = std::move(onClick);
    return control;
}

DialogControl* DialogModel::Find(int id) {
    auto found = std::find_if(m_controls.begin(), m_controls.end(),
                              [id](const DialogControl& control) { return control.id == id; });
    return found == m_controls.end() ? nullptr : &*found;
}

const DialogControl* DialogModel::Find(int id) const {
    return const_cast<DialogModel*>(this)->Find(id);
}

std::string DialogModel::Text(int id) const {
    const DialogControl* control = Find(id);
    return control ? control->text : std::string();
}

void DialogModel::SetText(int id, std::string_view text) {
    if (DialogControl* control = Find(id)) control->text = std::string(text);
}

bool DialogModel::Type(int id, std::string_view text) {
    DialogControl* control = Find(id);
    if (!control || control->kind != ControlKind::Edit || !control->enabled || control->readOnly) {
        return false;
    }
    std::string typed;
    for (std::size_t at = 0; at < text.size();) {
        // A double-byte character goes in whole or not at all.
        const std::size_t length =
            IsCp932LeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
        if (control->maxBytes != 0 && typed.size() + length > control->maxBytes) break;
        typed.append(text.substr(at, length));
        at += length;
    }
    const bool whole = typed.size() == text.size();
    control->text = std::move(typed);
    return whole;
}

bool DialogModel::Checked(int id) const {
    const DialogControl* control = Find(id);
    return control && control->checked;
}

void DialogModel::SetChecked(int id, bool checked) {
    DialogControl* control = Find(id);
    if (!control) return;
    control->checked = checked;
    if (control->kind != ControlKind::Radio || !checked) return;
    // The other buttons of its group: the run of radio buttons around it.
    const auto self = m_controls.begin() + (control - m_controls.data());
    for (auto it = self; it != m_controls.begin() && (it - 1)->kind == ControlKind::Radio;) {
        (--it)->checked = false;
    }
    for (auto it = self + 1; it != m_controls.end() && it->kind == ControlKind::Radio; ++it) {
        it->checked = false;
    }
}

bool DialogModel::Click(int id) {
    DialogControl* control = Find(id);
    if (!control || !control->enabled) return false;
    if (control->kind == ControlKind::Check) {
        control->checked = !control->checked;
    } else if (control->kind == ControlKind::Radio) {
        SetChecked(id, true);
    }
    return RunClickHandler(id);
}

bool DialogModel::RunClickHandler(int id) {
    DialogControl* control = Find(id);
    const bool clickable =
        control && control->enabled &&
        (control->kind == ControlKind::Button || control->kind == ControlKind::Check ||
         control->kind == ControlKind::Radio);
    if (!clickable) return false;
    // A copy runs: the handler may change the very control it belongs to.
    if (DialogHandler onClick = control->onClick) onClick(*this);
    return true;
}

void DialogModel::Init() {
    if (m_onInit) m_onInit(*this);
}

bool DialogModel::Ok() { return !m_validator || m_validator(*this); }

}  // namespace tamvel
