#include "template_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <variant>

#include "device_operations.h"
#include "device_type_page.h"
#include "drive_word.h"
#include "files/atomic_file.h"
#include "form_record.h"
#include "jcl_ini_files.h"
#include "text_helpers.h"

namespace pelmo {
namespace {

// The text a row is saved as, as the INI helpers write its kind of value.
std::string RowText(const TemplateRow& row, const FormValues& v) {
    switch (row.value) {
        case TemplateValue::Integer:
            return IniIntegerText(Member<int>(v, row.control));
        case TemplateValue::Boolean:
            return IniBoolText(Member<bool>(v, row.control));
        case TemplateValue::Text:
            return Member<std::string>(v, row.control);
        case TemplateValue::DualDrive:
            return IniIntegerText(PackDualDrive(v));
        case TemplateValue::QuadDrive:
            return IniIntegerText(PackQuadDrive(v));
        case TemplateValue::Zero:
            return IniIntegerText(0);
    }
    return {};
}

void ReadRow(const IniDocument& doc, const TemplateRow& row, FormValues& v) {
    switch (row.value) {
        case TemplateValue::Integer: {
            const int32_t entry = doc.GetInteger(row.section, row.key);
            Member<int>(v, row.control) =
                entry >= 0 && entry < ListEntries(row.control) ? entry : -1;
            return;
        }
        case TemplateValue::Boolean: {
            const bool ticked = doc.GetBool(row.section, row.key);
            Member<bool>(v, row.control) = ticked;
            if (!row.paired.empty()) Member<bool>(v, row.paired) = !ticked;
            return;
        }
        case TemplateValue::Text:
            Member<std::string>(v, row.control) = doc.GetString(row.section, row.key);
            return;
        case TemplateValue::DualDrive:
            UnpackDualDrive(static_cast<uint16_t>(doc.GetInteger(row.section, row.key)), v);
            return;
        case TemplateValue::QuadDrive:
            UnpackQuadDrive(static_cast<uint16_t>(doc.GetInteger(row.section, row.key)), v);
            return;
        case TemplateValue::Zero:
            return;
    }
}

}  // namespace

int ListEntries(std::string_view control) {
    return static_cast<int>(ListItems(control).size());
}

bool WriteTemplate(const std::string& file, const FormValues& v, std::string* why) {
    auto failed = [&](std::string text) {
        if (why) *why = std::move(text);
        return false;
    };
    // The template replaced keeps every line that is not written here, in place. One that
    // exists but cannot be read whole is not replaced: its lines would be lost.
    auto doc = ReadIniForRewrite(file);
    if (!doc) return failed(platform::files::read_failure(file, kIniReadLimit));
    // Every key goes into one text that replaces the file in one step: a save costs one
    // flush to disk, and a template that cannot be written whole leaves the old one.
    for (const auto& row : kTemplateRows) doc->Set(row.section, row.key, RowText(row, v));
    // Nor is one that would grow past what Open reads.
    const std::string text = doc->Text();
    if (text.size() > kIniReadLimit) {
        return failed("it would be larger than the limit of " + std::to_string(kIniReadLimit) +
                      " bytes");
    }
    // The routine answers only whether it worked; its failing call leaves the reason.
    errno = 0;
    if (platform::files::write_file_atomically(file, text)) return true;
    return failed(errno != 0 ? std::strerror(errno) : "cannot be written");
}

FormValues ReadTemplate(const IniDocument& doc, FormValues v) {
    for (const auto& row : kTemplateRows) ReadRow(doc, row, v);
    for (const auto& b : kHsDualSides) {
        Member<bool>(v, b.uart) = std::none_of(b.modes.begin(), b.modes.end(),
                                               [&](auto mode) { return Member<bool>(v, mode); });
    }
    // A VID/PID type that sets the IDs sets them whatever the file says, as the window
    // does once the template is shown.
    const PageState page = DeviceTypePage(v.CB1, v.CB2, v.CheckBox5);
    if (page.vendor_id_text) v.Edit1 = *page.vendor_id_text;
    if (page.product_id_text) v.Edit2 = *page.product_id_text;
    return v;
}

FormValues ReadTemplate(const std::string& file, FormValues v) {
    return ReadTemplate(ReadIniFile(file).value_or(IniDocument{}), std::move(v));
}

std::vector<std::string> ValidateTemplate(const FormValues& v, StringCheck strings) {
    std::vector<std::string> errors;
    if (v.CheckBox5 && v.Edit6.empty()) {
        errors.emplace_back("ERROR : If you want a fixed serial number you must provide one");
    }
    if (!v.CheckBox5 && v.Edit5.empty()) {
        errors.emplace_back(
            "ERROR : You must fill in the Serial Number Prefix field with 2 characters");
    }
    if (v.Edit10.empty()) errors.emplace_back("ERROR : You must fill in Manufacturer Name");
    if (v.Edit11.empty()) errors.emplace_back("ERROR : You must fill in Product Description");
    if (v.Edit9.empty()) {
        errors.emplace_back("ERROR : You must fill in current used from USB (0-500mA)");
    }
    // A VID that reads as zero (empty, or no key in an opened file) would go into every
    // chip; "0000" itself the field puts back to the default. An opened text is judged
    // as the field will hold it: cut to its four digits.
    const std::string vid = v.Edit1.substr(0, kIdFieldDigits);
    if (HexTextToInt(vid) == 0 && !VendorIdReplacement(vid))
        errors.emplace_back("ERROR : All zeros is an invalid VID");
    // A list without a selection is no valid device type either.
    if (v.CB1 <= 0) errors.emplace_back("ERROR : You must select a valid device type");
    if (strings == StringCheck::Include && !TemplateStringsFit(v)) {
        errors.push_back(StringLengthError(
            StringLimit(SelectedKind(DeviceTypePage(v.CB1, v.CB2, v.CheckBox5).kinds))));
    }
    return errors;
}

// Judged as Program judges them, for the kind the template selects.
bool TemplateStringsFit(const FormValues& v) {
    const ChipKind kind = SelectedKind(DeviceTypePage(v.CB1, v.CB2, v.CheckBox5).kinds);
    return StringsFit(FieldTexts({v.Edit10, v.Edit5, v.Edit11, v.Edit6, v.CheckBox5}), kind);
}

}  // namespace pelmo
