// The programmer's main window `MainForm`: the setting controls, the option pages per
// chip kind, the log, menus, tool bar and actions. The rules live in the plain modules
// (form_record, device_type_page, template_file); the window copies values between its
// controls and them, and carries out the device operations of the core.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <string>

#include "device_type_page.h"
#include "form_record.h"
#include "form_values.h"
#include "window_steps.h"

class QAction;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;
class QAbstractButton;

namespace pelmo {

inline constexpr const char* kVersionText = "3.5";
inline constexpr const char* kApplicationTitle = "Pelmo - Multi Device EEPROM Programmer";

class TMainForm : public QMainWindow, public WindowSteps {
    Q_OBJECT

  public:
    // `program_dir`: the folder of the program, where Templates/ and Help/ are.
    explicit TMainForm(std::string program_dir, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The About box that MPAbout shows (created by the program entry).
    void set_about_box(QDialog* box) { about_box_ = box; }

    // Window steps of the device operations
    void clear_log() override;
    void add_log_line(const std::string& line) override;
    StringFields string_fields() override;
    bool ignore_upper_type() override;
    void FormToProgramData(int counter) override;
    void LockBasicDetails() override;
    void UpdateDeviceTypePage() override;
    void ProgramDataToForm() override;
    void ShowBasicDetails(const BasicDetails& details) override;

    void EnableEditGroups();
    void DisableEditGroups();

    // Actions
    void MPNewExecute();
    void MPOpenExecute();
    void MPEditExecute();
    void MPSaveExecute();
    void MPSaveAsExecute();
    void MPScanExecute();
    void MPEraseExecute();
    void MPProgramExecute();
    void MPHelpExecute();
    void MPAboutExecute();
    void ReadExecute();
    void ReadAndParseExecute();
    void ToolButton11Click();

    // The values of every setting control.
    FormValues form_values() const;
    // The remembered template file name ("" for none).
    const std::string& template_file() const { return template_file_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Layout (main_form_layout.cpp)
    void BuildControls();
    void BuildActions();
    void BuildMenusAndToolBar();
    // Edit handlers (main_form_handlers.cpp)
    void ConnectEditHandlers();
    void EditRule(bool set_title);
    void SettingChange();
    void CB1Change();
    void CB2Change();
    void CheckBox5Click();
    void RB1Click();
    void RB2Click();
    void Edit1Change();
    void Edit2Change();
    void Edit9Change();
    void StringFieldChange();
    void CheckBox6Click();
    void set_max_power(const char* mA);

    QWidget* control(std::string_view name) const;
    QAction* action(std::string_view name) const;
    void set_enabled(std::initializer_list<std::string_view> names, bool enabled);
    void set_visible(std::initializer_list<std::string_view> names, bool visible);
    void apply_values(const FormValues& v);
    // Runs `writes` of setting controls from code. Their handlers run as for an edit, but
    // the string-length check waits until the writes are done and then only adds its error
    // line: clearing the log is for the user's typing, not for Open or an operation.
    void write_from_code(const std::function<void()>& writes);
    void apply_control(std::string_view name, const FormValues& v);
    void apply_page(const PageState& page);
    void set_edit_groups_enabled(bool enabled);
    void set_edit_title();
    void set_program_title();
    void enter_program_mode();
    // Logs the lines of the settings that may not be saved; true when there are none.
    bool log_template_errors(const FormValues& v);
    bool save_template(const std::string& file);
    // Writes each control of the template table from `v`, running its handler.
    void apply_template(const FormValues& v);
    std::string templates_dir() const;
    void add_log_text(const QString& line);
    // A log line naming a file: `text`, the path (UTF-8 as the file system has it) and
    // the reason in parentheses when there is one.
    void log_about_file(const std::string& text, const std::string& file,
                        const std::string& reason = {});
    bool own_enabled(std::string_view name) const;
    // Runs one device operation unless another is running.
    void run_operation(const std::function<void()>& operation);

    std::string program_dir_;
    std::string template_file_;
    QHash<QString, QWidget*> controls_;
    QHash<QString, QAction*> actions_;
    QPlainTextEdit* Memo1 = nullptr;
    QDialog* about_box_ = nullptr;
    bool busy_ = false;             // a device operation is running
    bool close_asked_ = false;      // the window was closed while one ran
    int code_writes_ = 0;           // nesting of write_from_code
    bool strings_written_ = false;  // a string field changed inside write_from_code
};

// Ticks or unticks an option button, even the ticked one of its group.
void SetButtonChecked(QAbstractButton* button, bool checked);

}  // namespace pelmo
