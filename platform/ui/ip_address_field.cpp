#include "platform/ui/ip_address_field.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpressionValidator>

namespace platform::ui {

IpAddressField::IpAddressField(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    // Up to three digits; the range is checked by hand, since a validator would take "300" as a
    // text still being typed.
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), this);
    for (int i = 0; i < 4; ++i) {
        auto* field = new QLineEdit(this);
        field->setValidator(digits);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { OnEdited(i); });
        m_fields[static_cast<std::size_t>(i)] = field;
        layout->addWidget(field, 1);
        if (i < 3) layout->addWidget(new QLabel(QStringLiteral("."), this));
    }
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void IpAddressField::SetAddress(std::uint32_t address) {
    for (int i = 0; i < 4; ++i)
        m_fields[static_cast<std::size_t>(i)]->setText(QString::number((address >> (24 - 8 * i)) & 0xff));
}

int IpAddressField::GetAddress(std::uint32_t& address) const {
    address = 0;
    int filled = 0;
    for (QLineEdit* field : m_fields) {
        address <<= 8;
        if (field->text().isEmpty()) continue;
        address |= static_cast<std::uint32_t>(field->text().toUInt()) & 0xff;
        ++filled;
    }
    return filled;
}

void IpAddressField::ClearAddress() {
    for (QLineEdit* field : m_fields) field->clear();
}

bool IpAddressField::IsBlank() const {
    std::uint32_t ignored = 0;
    return GetAddress(ignored) == 0;
}

QString IpAddressField::Text() const {
    if (IsBlank()) return QString();
    QStringList parts;
    for (QLineEdit* field : m_fields)
        parts << (field->text().isEmpty() ? QString() : QString::number(field->text().toUInt()));
    return parts.join(QLatin1Char('.'));
}

void IpAddressField::SetText(const QString& text) {
    static const QRegularExpression kDotted(QRegularExpression::anchoredPattern(
        QStringLiteral("([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})")));
    const QRegularExpressionMatch match = kDotted.match(text);
    bool whole = match.hasMatch();
    for (int i = 1; whole && i <= 4; ++i) whole = match.captured(i).toUInt() <= 255;
    // Anything but a whole address blanks the field: clamping or keeping part of it would show an
    // address nobody gave.
    for (int i = 0; i < 4; ++i)
        m_fields[static_cast<std::size_t>(i)]->setText(whole ? QString::number(match.captured(i + 1).toUInt())
                                                             : QString());
}

void IpAddressField::OnEdited(int index) {
    QLineEdit* field = m_fields[static_cast<std::size_t>(index)];
    if (field->text().toUInt() > 255) field->setText(QStringLiteral("255"));
    if (field->text().size() == 3 && index < 3) m_fields[static_cast<std::size_t>(index + 1)]->setFocus();
}

bool IpAddressField::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        for (int i = 0; i < 3; ++i)
            if (watched == m_fields[static_cast<std::size_t>(i)] && key->text() == QStringLiteral(".")) {
                m_fields[static_cast<std::size_t>(i + 1)]->setFocus();
                m_fields[static_cast<std::size_t>(i + 1)]->selectAll();
                return true;
            }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace platform::ui
