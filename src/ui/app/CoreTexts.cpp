#include "ui/app/CoreTexts.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace quillmark {

namespace {

constexpr const char* kContext = "Core";

// Every text of the core that reaches the window, so the translation tools
// find them; a text missing here is shown untranslated.
constexpr std::array kTexts = {
    QT_TRANSLATE_NOOP("Core", "Шаг оцифровки слишком мал."),
    QT_TRANSLATE_NOOP("Core", "Шаг оцифровки должен быть больше нуля."),
    QT_TRANSLATE_NOOP("Core", "Область графика имеет нулевой размер."),
    QT_TRANSLATE_NOOP("Core", "Линия не найдена"),
    QT_TRANSLATE_NOOP("Core", "Недопустимое значение границы оси"),
    QT_TRANSLATE_NOOP("Core", "Шаг сетки оси не может быть отрицательным"),
    QT_TRANSLATE_NOOP("Core", "оцифровку"),
    QT_TRANSLATE_NOOP("Core", "добавление точки"),
    QT_TRANSLATE_NOOP("Core", "перемещение точки"),
    QT_TRANSLATE_NOOP("Core", "удаление точки"),
    QT_TRANSLATE_NOOP("Core", "выбор точки"),
    QT_TRANSLATE_NOOP("Core", "изменение значения Y"),
    QT_TRANSLATE_NOOP("Core", "удаление всех данных"),
    QT_TRANSLATE_NOOP("Core", "калибровку"),
    QT_TRANSLATE_NOOP("Core", "изменение границ оси"),
    QT_TRANSLATE_NOOP("Core", "изменение шага сетки"),
    QT_TRANSLATE_NOOP("Core", "изменение вида оси"),
    QT_TRANSLATE_NOOP("Core", "сдвиг оси"),
    QT_TRANSLATE_NOOP("Core", "изменение масштаба"),
    QT_TRANSLATE_NOOP("Core", "загрузку калибровки"),
    QT_TRANSLATE_NOOP("Core", "выделение области"),
    QT_TRANSLATE_NOOP("Core", "изменение области"),
    QT_TRANSLATE_NOOP("Core", "включение области"),
    QT_TRANSLATE_NOOP("Core", "коррекцию изображения"),
    QT_TRANSLATE_NOOP("Core", "сброс коррекции изображения"),
    QT_TRANSLATE_NOOP("Core", "изменение вида точек"),
    QT_TRANSLATE_NOOP("Core", "Файл калибровки осей (*.cal)|*.cal"),
    QT_TRANSLATE_NOOP("Core", "Минимальное значение оси должно быть < максимального"),
    QT_TRANSLATE_NOOP("Core", "Ошибка"),
    QT_TRANSLATE_NOOP("Core", "Точки привязки по оси X совпадают"),
    QT_TRANSLATE_NOOP("Core", "Точки привязки по оси Y совпадают"),
    QT_TRANSLATE_NOOP("Core", "На логарифмической оси X значения должны быть больше нуля"),
    QT_TRANSLATE_NOOP("Core", "На логарифмической оси Y значения должны быть больше нуля"),
    QT_TRANSLATE_NOOP("Core", "Файл калибровки слишком велик"),
    QT_TRANSLATE_NOOP("Core", "Файл калибровки пуст"),
    QT_TRANSLATE_NOOP("Core", "Задайте точку Xmin и Ymin"),
    QT_TRANSLATE_NOOP("Core", "Задайте точку Xmin"),
    QT_TRANSLATE_NOOP("Core", "Задайте точку Xmax и Ymax"),
    QT_TRANSLATE_NOOP("Core", "Задайте точку Xmax"),
    QT_TRANSLATE_NOOP("Core", "Задайте точку Ymax"),
    QT_TRANSLATE_NOOP("Core", "Задайте точку Ymin"),
    QT_TRANSLATE_NOOP("Core", "Привязка координат по 2 точкам"),
    QT_TRANSLATE_NOOP("Core", "Привязка координат по 3 точкам"),
    QT_TRANSLATE_NOOP("Core", "Привязка координат по 4 точкам"),
};

// The patterns with blanks; each "%s" is filled in the same order.
constexpr std::array kPatterns = {
    QT_TRANSLATE_NOOP("Core", "Не удалось открыть файл %s"),
    QT_TRANSLATE_NOOP("Core", "Не удалось записать файл %s"),
    QT_TRANSLATE_NOOP("Core", "Неверное значение %s в файле калибровки: \"%s\""),
    QT_TRANSLATE_NOOP("Core", "В файле калибровки нет значения %s"),
};

} // namespace

QString CoreText(std::string_view text)
{
    const std::string key(text);
    return QCoreApplication::translate(kContext, key.c_str());
}

QString CoreMessage(const std::string& message)
{
    // An error box adds a full stop to a text that has none; the text is
    // looked up without it.
    const bool stop = !message.empty() && message.back() == '.';
    for (const std::string& text : {message, stop ? message.substr(0, message.size() - 1) : std::string()}) {
        if (text.empty())
            continue;
        const QString translated = QCoreApplication::translate(kContext, text.c_str());
        if (translated != QString::fromStdString(text) || std::find(kTexts.begin(), kTexts.end(), text) != kTexts.end())
            return translated + (text.size() < message.size() ? QStringLiteral(".") : QString());
    }
    const QString whole = QString::fromStdString(message);
    for (const char* pattern : kPatterns) {
        QStringList pieces = QString::fromUtf8(pattern).split(QStringLiteral("%s"));
        for (QString& piece : pieces)
            piece = QRegularExpression::escape(piece);
        const QString expression = pieces.join(QStringLiteral("(.*)"));
        const QRegularExpressionMatch match =
            QRegularExpression(QLatin1Char('^') + expression + QStringLiteral("(\\.?)$")).match(whole);
        if (!match.hasMatch())
            continue;
        QString translated = QCoreApplication::translate(kContext, pattern);
        for (int i = 1; i < match.lastCapturedIndex(); ++i) {
            const qsizetype at = translated.indexOf(QStringLiteral("%s"));
            if (at < 0)
                break;
            translated.replace(at, 2, match.captured(i));
        }
        return translated + match.captured(match.lastCapturedIndex());
    }
    return whole;
}

} // namespace quillmark
