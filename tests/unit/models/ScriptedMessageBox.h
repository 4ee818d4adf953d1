// A message box that answers from a script and records what it was shown, so that the
// dialogs' confirmations and notices can be tested without a screen.
#pragma once

#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <cctype>
#include <deque>
#include <unistd.h>
#include <filesystem>
#include <string>
#include <vector>

class ScriptedMessageBox : public nelo::MessageBox {
public:
    struct Shown {
        std::string text, caption;
        nelo::MbButtons buttons;
        nelo::MbIcon icon;
    };

    /// Queues the answers to the next questions, in order.
    explicit ScriptedMessageBox(std::initializer_list<nelo::MbAnswer> answers = {}) : m_answers(answers) {}

    nelo::MbAnswer Show(const std::string& text, const std::string& caption, nelo::MbButtons buttons,
                        nelo::MbIcon icon) override {
        m_shown.push_back({text, caption, buttons, icon});
        // A notice needs no script: its only button is OK.
        if (buttons == nelo::MbButtons::Ok) return nelo::MbAnswer::Ok;
        if (m_answers.empty()) {
            ADD_FAILURE() << "unexpected question";
            return nelo::MbAnswer::Cancel;
        }
        nelo::MbAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }

    const std::vector<Shown>& GetShown() const { return m_shown; }
    bool ScriptUsedUp() const { return m_answers.empty(); }

private:
    std::deque<nelo::MbAnswer> m_answers;
    std::vector<Shown> m_shown;
};

/// A fresh empty folder for one test, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        static int s_n = 0;
        m_path = std::filesystem::temp_directory_path() /
                 ("nelo-dialogs-" + std::to_string(::getpid()) + "-" + std::to_string(++s_n));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

/// Test names from the rows' name field (letters and digits kept, the rest "_").
struct RowName {
    template <class Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& param) const {
        std::string n = param.param.name;
        for (char& c : n)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return n;
    }
};
