#include "random_input.h"

namespace monkey {

int RandomInput::below(int n)
{
    return static_cast<int>(m_rng() % static_cast<std::uint64_t>(n));
}

bool RandomInput::chance(double p)
{
    return static_cast<double>(m_rng() >> 11) * 0x1.0p-53 < p;
}

QString RandomInput::number()
{
    QString text;
    if (chance(0.25))
        text += QLatin1Char('-');
    else if (chance(0.05))
        text += QLatin1Char('+');
    const int digits = 1 + below(chance(0.1) ? 40 : 6);
    for (int i = 0; i < digits; ++i)
        text += QLatin1Char(char('0' + below(10)));
    if (chance(0.5)) {
        text += QLatin1Char('.');
        const int decimals = below(8);
        for (int i = 0; i < decimals; ++i)
            text += QLatin1Char(char('0' + below(10)));
    }
    if (chance(0.35)) {
        text += chance(0.5) ? QLatin1Char('e') : QLatin1Char('E');
        // Exponents at the edges of a double's range, and ordinary ones.
        static const std::vector<int> edges = {-400, -324, -308, -300, -200, -170, -100, -10, -3,
                                               -1,   0,    1,    3,    10,   100,  200,  300,  307,
                                               308,  309,  400};
        const int exponent = chance(0.6) ? oneOf(edges) : below(41) - 20;
        text += QString::number(exponent);
    }
    if (chance(0.1))
        text = QLatin1Char(' ') + text + QLatin1Char(' ');
    return text;
}

QString RandomInput::chinese(int length)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += QChar(char16_t(0x4E00 + below(0x9FA5 - 0x4E00)));
    return text;
}

QString RandomInput::controlCharacters()
{
    static const std::vector<QString> pieces = {
        QStringLiteral("\x01"),    QStringLiteral("\x08"),   QStringLiteral("\t"),
        QStringLiteral("\r\n"),    QStringLiteral("\n"),     QStringLiteral("\x1b"),
        QStringLiteral("\x7f"),    QString(QChar(0x2028)),   QString(QChar(0xFEFF)),
        QString(QChar(0x200B)),    QString(QChar(0xD800)),   QStringLiteral("1"),
        QString(QChar(0xFF11)), // full-width one
    };
    QString text;
    const int n = 1 + below(5);
    for (int i = 0; i < n; ++i)
        text += oneOf(pieces);
    return text;
}

QString RandomInput::longText()
{
    const int length = 200 + below(chance(0.2) ? 20000 : 2000);
    QString text;
    text.reserve(length);
    const int kind = below(3);
    for (int i = 0; i < length; ++i) {
        if (kind == 0)
            text += QLatin1Char(char('0' + below(10)));
        else if (kind == 1)
            text += i == 1 ? QLatin1Char('.') : QLatin1Char('9');
        else
            text += below(4) == 0 ? QChar(char16_t(0x4E00 + below(2000))) : QLatin1Char(char('a' + below(26)));
    }
    return text;
}

QString RandomInput::text()
{
    static const std::vector<QString> catalogue = {
        QStringLiteral("DN50"),       QStringLiteral("d300"),     QStringLiteral(" d450"),
        QStringLiteral("De75"),       QStringLiteral("钢管"),     QStringLiteral("砼管"),
        QStringLiteral("HDPE"),       QStringLiteral("请选择管径"), QStringLiteral("0.65"),
        QStringLiteral("2.0"),        QStringLiteral("屋面"),     QStringLiteral("天津市"),
        QStringLiteral("100"),        QStringLiteral("0"),        QStringLiteral("1"),
        QStringLiteral("0.5"),        QStringLiteral("3"),        QStringLiteral("20"),
        QStringLiteral("钢衬塑复合管"), QStringLiteral("1.4"),      QStringLiteral("vantor"),
    };
    static const std::vector<QString> tricky = {
        // Not the program's own spellings of these values ("Inf", "NaN"),
        // which a field must never show.
        QStringLiteral("inf"),    QStringLiteral("-inf"),   QStringLiteral("nan"),
        QStringLiteral("nAn"),    QStringLiteral("Infinity"), QStringLiteral("1e999"),
        QStringLiteral("-1e-999"), QStringLiteral("0x10"),  QStringLiteral("1,5"),
        QStringLiteral("1 2"),    QStringLiteral("+"),      QStringLiteral("-"),
        QStringLiteral("."),      QStringLiteral("e"),      QStringLiteral("1e"),
        QStringLiteral("--1"),    QStringLiteral("1..2"),   QStringLiteral("0.0.0"),
        QStringLiteral("1e-320"), QStringLiteral("4.9e-324"), QStringLiteral("1.7976931348623157e308"),
        QStringLiteral("-0"),     QStringLiteral("0e0"),    QStringLiteral("２"),
        QStringLiteral("二"),     QStringLiteral("1/2"),    QStringLiteral("10%"),
    };
    switch (below(10)) {
    case 0:
    case 1:
    case 2:
        return number();
    case 3:
        return oneOf(catalogue);
    case 4:
        return oneOf(tricky);
    case 5:
        return QString(below(4), QLatin1Char(' '));
    case 6:
        return chinese(1 + below(8));
    case 7:
        return controlCharacters();
    case 8:
        return longText();
    default:
        return oneOf(catalogue) + (chance(0.5) ? number() : chinese(1 + below(3)));
    }
}

Keystroke RandomInput::key()
{
    static const std::vector<Keystroke> keys = {
        {Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), QStringLiteral("Enter")},
        {Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r"), QStringLiteral("keypad Enter")},
        {Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"), QStringLiteral("Esc")},
        {Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"), QStringLiteral("Tab")},
        {Qt::Key_Backtab, Qt::ShiftModifier, QString(), QStringLiteral("Shift+Tab")},
        {Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"), QStringLiteral("Backspace")},
        {Qt::Key_Delete, Qt::NoModifier, QString(), QStringLiteral("Delete")},
        {Qt::Key_Home, Qt::NoModifier, QString(), QStringLiteral("Home")},
        {Qt::Key_End, Qt::ShiftModifier, QString(), QStringLiteral("Shift+End")},
        {Qt::Key_Left, Qt::NoModifier, QString(), QStringLiteral("Left")},
        {Qt::Key_Right, Qt::NoModifier, QString(), QStringLiteral("Right")},
        {Qt::Key_Up, Qt::NoModifier, QString(), QStringLiteral("Up")},
        {Qt::Key_Down, Qt::NoModifier, QString(), QStringLiteral("Down")},
        {Qt::Key_PageDown, Qt::NoModifier, QString(), QStringLiteral("PageDown")},
        {Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), QStringLiteral("Space")},
        {Qt::Key_F4, Qt::NoModifier, QString(), QStringLiteral("F4")},
        {Qt::Key_Down, Qt::AltModifier, QString(), QStringLiteral("Alt+Down")},
        {Qt::Key_A, Qt::ControlModifier, QString(), QStringLiteral("Ctrl+A")},
        {Qt::Key_C, Qt::ControlModifier, QString(), QStringLiteral("Ctrl+C")},
        {Qt::Key_X, Qt::ControlModifier, QString(), QStringLiteral("Ctrl+X")},
        {Qt::Key_V, Qt::ControlModifier, QString(), QStringLiteral("Ctrl+V")},
        {Qt::Key_Z, Qt::ControlModifier, QString(), QStringLiteral("Ctrl+Z")},
        {Qt::Key_Insert, Qt::ShiftModifier, QString(), QStringLiteral("Shift+Insert")},
    };
    if (chance(0.15)) {
        // An access key: Alt with a letter.
        const int letter = below(26);
        return {Qt::Key_A + letter, Qt::AltModifier, QString(),
                QStringLiteral("Alt+") + QLatin1Char(char('A' + letter))};
    }
    return oneOf(keys);
}

} // namespace monkey
