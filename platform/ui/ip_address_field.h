#pragma once
// An IPv4 address typed in four fields of 0 to 255, each of which may be blank.

#include <QLineEdit>
#include <QWidget>
#include <array>
#include <cstdint>

namespace platform::ui {

class IpAddressField : public QWidget {
    Q_OBJECT
public:
    explicit IpAddressField(QWidget* parent = nullptr);

    // The first field is the most significant byte.
    void SetAddress(std::uint32_t address);
    // The number of fields that are not blank; blank fields count as 0 in `address`.
    int GetAddress(std::uint32_t& address) const;
    void ClearAddress();
    bool IsBlank() const;

    // Dotted text; "" when every field is blank, and a blank field of a partly filled address
    // stays empty between its dots ("10.1..").
    QString Text() const;
    // Takes four dotted numbers of 0 to 255; any other text, "" included, blanks every field.
    void SetText(const QString& text);

    QLineEdit* Field(int index) const { return m_fields[static_cast<std::size_t>(index)]; }

private:
    void OnEdited(int index);
    bool eventFilter(QObject* watched, QEvent* event) override;

    std::array<QLineEdit*, 4> m_fields{};
};

}  // namespace platform::ui
