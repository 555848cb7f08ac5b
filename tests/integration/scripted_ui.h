#pragma once
// A Ui for tests: choosers take queued answers (an empty queue cancels), and every message
// and chooser is logged in order, in UTF-8 for readable failures.

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "panel/stop_event.h"
#include "platform/text.h"
#include "ui/dialog_model.h"
#include "ui/ui.h"

namespace tamvel::testing {

class ScriptedUi : public Ui {
  public:
    /// The next file chooser picks this Windows path (UTF-8).
    void AnswerFile(const std::string& utf8Path) { m_fileAnswers.push_back(Cp932(utf8Path)); }
    /// The next file chooser is cancelled.
    void CancelFile() { m_fileAnswers.push_back(std::nullopt); }
    /// The next folder browser picks this item (UTF-8).
    void AnswerFolder(const std::string& utf8Path, const std::string& utf8DisplayName = {}) {
        m_folderAnswers.push_back(FolderItem{Cp932(utf8Path), Cp932(utf8DisplayName)});
    }
    /// The next folder browser is cancelled.
    void CancelFolder() { m_folderAnswers.push_back(std::nullopt); }
    /// Every TSP run from now on is stopped this long after it starts, as by its 中止 button.
    void StopRunsAfter(std::chrono::milliseconds delay) { m_stopAfter = delay; }

    /// What the person saw, in order: "message: TEXT", "choose program", "browse folder".
    const std::vector<std::string>& Log() const { return m_log; }
    /// Only the messages' texts.
    std::vector<std::string> Messages() const {
        std::vector<std::string> messages;
        for (const std::string& entry : m_log) {
            if (entry.starts_with(kMessage)) messages.push_back(entry.substr(kMessage.size()));
        }
        return messages;
    }
    /// A field's text in UTF-8.
    std::string Field(int controlId) const { return Utf8(FieldText(controlId)); }
    /// Whether the program ever set this field.
    bool WasFieldSet(int controlId) const { return m_fields.contains(controlId); }
    /// Answers left unused.
    std::size_t PendingAnswers() const { return m_fileAnswers.size() + m_folderAnswers.size(); }

    void ShowMessage(std::string_view text) override {
        m_log.push_back(std::string(kMessage) + Utf8(text));
    }
    std::optional<std::string> ChooseFile(ChooserKind kind) override {
        m_log.push_back(kind == ChooserKind::Program   ? "choose program"
                        : kind == ChooserKind::TspFile ? "choose tsp-file"
                                                       : "choose data-file");
        return Next(m_fileAnswers);
    }
    std::optional<FolderItem> BrowseForFolder() override {
        m_log.push_back("browse folder");
        return Next(m_folderAnswers);
    }
    std::string FieldText(int controlId) const override {
        auto field = m_fields.find(controlId);
        return field == m_fields.end() ? std::string() : field->second;
    }
    void SetFieldText(int controlId, std::string_view text) override {
        m_fields[controlId] = std::string(text);
    }
    /// Dialogs are logged as "dialog ID" and answered by `dialogAnswer`, which may drive the
    /// model; without one they are cancelled.
    std::function<int(DialogModel&)> dialogAnswer;
    int RunDialog(DialogModel& dialog) override {
        m_log.push_back("dialog " + std::to_string(dialog.Id()));
        return dialogAnswer ? dialogAnswer(dialog) : kDialogCancel;
    }
    void ShowMainWindow(bool visible) override {
        m_log.push_back(visible ? "window shown" : "window hidden");
    }
    void WhileTspRuns(std::string_view tspFile, StopEvent* stop,
                      const std::function<void()>& wait) override {
        m_log.push_back("running " + Utf8(tspFile));
        if (!m_stopAfter || stop == nullptr) return wait();
        std::thread stopper([this, stop] {
            std::this_thread::sleep_for(*m_stopAfter);
            stop->Signal();
        });
        wait();
        stopper.join();
    }

  private:
    static constexpr std::string_view kMessage = "message: ";

    static std::string Utf8(std::string_view cp932) {
        return Cp932ToUtf8(cp932).value_or("<not CP932>");
    }
    template <typename T>
    static std::optional<T> Next(std::deque<std::optional<T>>& answers) {
        if (answers.empty()) return std::nullopt;
        std::optional<T> answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<std::string>> m_fileAnswers;
    std::deque<std::optional<FolderItem>> m_folderAnswers;
    std::vector<std::string> m_log;
    std::optional<std::chrono::milliseconds> m_stopAfter;
    std::map<int, std::string> m_fields;
};

}  // namespace tamvel::testing
