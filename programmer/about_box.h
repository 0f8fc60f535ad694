// The About box `AboutBox`: the logo, the version and a line about the program.
#pragma once

#include <QDialog>
#include <cstdint>
#include <span>

class QLabel;

namespace pelmo {

// The logo built into the program: a JPEG picture of 250 x 97 pixels.
std::span<const uint8_t> LogoJpeg();

class TAboutBox : public QDialog {
    Q_OBJECT

  public:
    // A logo that cannot be decoded leaves the box without a picture.
    explicit TAboutBox(QWidget* parent = nullptr, std::span<const uint8_t> logo = LogoJpeg());

    bool has_logo() const { return has_logo_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    bool has_logo_ = false;
};

}  // namespace pelmo
