#include "app/widgets/number_box.h"

#include <QLineEdit>

#include "edits/view_property_rules.h"
#include "services/status_service.h"

namespace tessaly {

NumberBox::NumberBox(QWidget* parent) : QSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void NumberBox::SetText(const QString& text) {
    lineEdit()->setText(text);
}

int NumberBox::Number() const {
    return ReadBoxNumber(text(), minimum(), maximum());
}

QValidator::State NumberBox::validate(QString& input, int&) const {
    for (const QChar c : input) {
        if ((c < u'0' || c > u'9') && c != u',' && c != u'-' && c != u'+' && c != u' ') {
            return QValidator::Invalid;
        }
    }
    return QValidator::Acceptable;
}

int NumberBox::valueFromText(const QString& text) const {
    return ReadBoxNumber(text, minimum(), maximum());
}

QString NumberBox::textFromValue(int value) const {
    return FormatThousands(value);
}

}  // namespace tessaly
