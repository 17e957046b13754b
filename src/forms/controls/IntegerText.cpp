#include "forms/controls/IntegerText.h"

namespace vorlu::controls {

namespace {
bool isSign(QChar ch)
{
    return ch == u'+' || ch == u'-';
}

bool hasSign(const QString& text)
{
    return text.contains(u'+') || text.contains(u'-');
}
} // namespace

QString filterIntegerTyping(const QString& before, const QString& typed, const QString& after)
{
    QString accepted;
    for (QChar ch : typed) {
        if (ch >= u'0' && ch <= u'9')
            accepted += ch;
        else if (isSign(ch) && before.isEmpty() && accepted.isEmpty() && !hasSign(after))
            accepted += ch;
    }
    return accepted;
}

QString filterIntegerText(const QString& text)
{
    return filterIntegerTyping(QString(), text, QString());
}

int integerValue(const QString& text)
{
    // Only what the filter lets through reads as a number ("+5", "-5", "007"); toInt alone
    // would also take blanks around the digits.
    if (text.isEmpty() || filterIntegerText(text) != text)
        return 0;
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace vorlu::controls
