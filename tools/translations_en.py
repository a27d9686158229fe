#!/usr/bin/env python3
"""Fills translations/quillmark_en.ts with the English texts below.

Run after lupdate has added new source texts; a source text without an entry
here stays unfinished, which the translation check reports."""
import sys
import xml.etree.ElementTree as ET

ENGLISH = {
    # Core texts
    "Шаг оцифровки слишком мал.": "The digitizing step is too small.",
    "Шаг оцифровки должен быть больше нуля.": "The digitizing step must be greater than zero.",
    "Область графика имеет нулевой размер.": "The plot area has zero size.",
    "Линия не найдена": "Line not found",
    "Недопустимое значение границы оси": "Invalid axis limit",
    "Шаг сетки оси не может быть отрицательным": "The axis grid step cannot be negative",
    "оцифровку": "digitizing",
    "добавление точки": "adding a point",
    "перемещение точки": "moving a point",
    "удаление точки": "deleting a point",
    "выбор точки": "selecting a point",
    "изменение значения Y": "changing a Y value",
    "удаление всех данных": "deleting all data",
    "калибровку": "calibration",
    "изменение границ оси": "changing axis limits",
    "изменение шага сетки": "changing the grid step",
    "изменение вида оси": "changing the axis type",
    "сдвиг оси": "shifting an axis",
    "изменение масштаба": "changing the scale",
    "загрузку калибровки": "loading a calibration",
    "выделение области": "selecting a region",
    "изменение области": "changing the region",
    "включение области": "switching the region on or off",
    "коррекцию изображения": "adjusting the picture",
    "сброс коррекции изображения": "resetting the picture adjustments",
    "изменение вида точек": "changing the point style",
    "Файл калибровки осей (*.cal)|*.cal": "Axis calibration file (*.cal)|*.cal",
    "Минимальное значение оси должно быть < максимального": "Axis minimum must be less than maximum",
    "Ошибка": "Error",
    "Точки привязки по оси X совпадают": "The X reference points coincide",
    "Точки привязки по оси Y совпадают": "The Y reference points coincide",
    "На логарифмической оси X значения должны быть больше нуля": "Values on a logarithmic X axis must be greater than zero",
    "На логарифмической оси Y значения должны быть больше нуля": "Values on a logarithmic Y axis must be greater than zero",
    "Файл калибровки слишком велик": "The calibration file is too large",
    "Файл калибровки пуст": "The calibration file is empty",
    "Задайте точку Xmin и Ymin": "Click the Xmin and Ymin point",
    "Задайте точку Xmin": "Click the Xmin point",
    "Задайте точку Xmax и Ymax": "Click the Xmax and Ymax point",
    "Задайте точку Xmax": "Click the Xmax point",
    "Задайте точку Ymax": "Click the Ymax point",
    "Задайте точку Ymin": "Click the Ymin point",
    "Привязка координат по 2 точкам": "Calibrate axes by 2 points",
    "Привязка координат по 3 точкам": "Calibrate axes by 3 points",
    "Привязка координат по 4 точкам": "Calibrate axes by 4 points",
    "Не удалось открыть файл %s": "Cannot open file %s",
    "Не удалось записать файл %s": "Cannot write file %s",
    "Неверное значение %s в файле калибровки: \"%s\"": "Invalid %s value in the calibration file: \"%s\"",
    "В файле калибровки нет значения %s": "The calibration file has no %s value",
    # About, help
    "О программе Quillmark": "About Quillmark",
    "Версия 0.61": "Version 0.61",
    "<a href=\"%1\">О проекте Quillmark</a>": "<a href=\"%1\">About the Quillmark project</a>",
    "Справка": "Help",
    "Файл справки Quillmark.txt не найден": "Help file Quillmark.en.txt not found",
    # Main window
    "&Файл": "&File",
    "&Открыть...": "&Open...",
    "Сохранить данные...": "Save Data...",
    "&Выход": "E&xit",
    "Правка": "Edit",
    "Отменить": "Undo",
    "Повторить": "Redo",
    "Вид": "View",
    "Увеличить": "Zoom In",
    "Уменьшить": "Zoom Out",
    "Исходный масштаб": "Actual Zoom",
    "Команды": "Commands",
    "Оцифровать": "Digitize",
    "Копировать": "Copy",
    "Масштабировать картинку": "Fit Picture",
    "Привязка координат": "Axis Calibration",
    "По 2 точкам": "By 2 Points",
    "По 3 точкам": "By 3 Points",
    "По 4 точкам": "By 4 Points",
    "Скрыть картинку": "Hide Picture",
    "Скрыть график": "Hide Graph",
    "Удалить данные": "Delete Data",
    "&Настройки": "&Settings",
    "Панель Инструментов": "Toolbar",
    "Таблица": "Table",
    "Опции": "Options",
    "&Справка": "&Help",
    "Справка по Quillmark": "Quillmark Help",
    "О программе...": "About...",
    "по 2 точкам": "by 2 points",
    "по 3 точкам": "by 3 points",
    "по 4 точкам": "by 4 points",
    "область": "region",
    "контур": "outline",
    "Открыть файл": "Open file",
    "Сохранить данные в файл": "Save data to a file",
    "Копировать данные в буфер обмена": "Copy data to the clipboard",
    "Отменить (Ctrl+Z)": "Undo (Ctrl+Z)",
    "Повторить (Ctrl+Shift+Z)": "Redo (Ctrl+Shift+Z)",
    "Настройки": "Settings",
    "Масштабировать": "Fit to plot",
    "Задать область оцифровки": "Set the digitizing region",
    "Удалить все данные": "Delete all data",
    "Выход": "Exit",
    "Настройка": "Setup",
    "Координатные оси": "Axes",
    "Нижняя граница оси X": "X axis minimum",
    "Нижняя граница оси Y": "Y axis minimum",
    "Верхняя граница оси X": "X axis maximum",
    "Верхняя граница оси Y": "Y axis maximum",
    "Шаг": "Step",
    "Сдвиг": "Shift",
    "Лог. шкала": "Log scale",
    "Логарифмическая шкала": "Logarithmic scale",
    "Обратная": "Reversed",
    "Ось направлена в обратную сторону": "The axis runs the other way",
    "Область оцифровки": "Digitizing region",
    "По макс. яркости  F5": "Max brightness  F5",
    "По цвету  F6": "By colour  F6",
    "Вручную  F7": "Manual  F7",
    "Правка  F8": "Edit  F8",
    "пиксели": "pixels",
    "ед. оси": "axis units",
    "Оси": "Axes",
    "Оцифровка": "Digitize",
    "Картинка": "Picture",
    "Сохранить": "Save",
    "Сохранить текущую установку осей": "Save the current axis setup",
    "Загрузить": "Load",
    "Загрузить установку осей": "Load an axis setup",
    "Масштаб 1:1": "Actual size",
    "Сохранить данные?": "Save the data?",
    "Файл данных (*.dat)|*.dat": "Data file (*.dat)|*.dat",
    "Удалить все данные?": "Delete all data?",
    "Шаг оцифровки": "Digitizing step",
    "Цвет линии": "Line colour",
    "Отменить ": "Undo ",
    "Повторить ": "Redo ",
    "Яркость": "Brightness",
    "Контраст": "Contrast",
    "Насыщенность": "Saturation",
    "Отсечь": "Threshold",
    "Размытие": "Blur",
    "Повернуть": "Rotate",
    "Негатив": "Negative",
    "Возврат": "Reset",
    "Показать картинку": "Show picture",
    # Options
    "Масштабировать координатную сетку относительно нуля": "Scale the grid about zero",
    "Иначе, относительно середины осей": "Otherwise about the middle of the axes",
    "Поворачивать картинку при привязке координат по 3 или 4 точкам": "Straighten the picture when calibrating by 3 or 4 points",
    "Не упорядочивать по X": "Do not sort by X",
    "Характерная толщина оцифровываемой линии": "Typical thickness of the line to digitize",
    "Определяется толщиной линии для оцифровки\nи крутизной фронтов. Подбирается экспериментально.":
        "Set by the thickness of the line to digitize\nand the sharpness of its edges. Found by trial.",
    "Характерный диапозон цветов": "Typical colour range",
    "В режиме оцифровки по цвету определяет диапазон учитываемых цветов\nотносительно заданного цвета. Подбирается экспериментально.":
        "When digitizing by colour, the range of colours accepted\naround the chosen colour. Found by trial.",
    "Число знаков в оцифровываемых значениях": "Significant digits of digitized values",
    "Толщина линии": "Line width",
    "Цвет сетки": "Grid colour",
    "Чувствительность выбора точки": "Point selection sensitivity",
    "Цвет точки": "Point colour",
    "Цвет выделенной точки": "Selected point colour",
    "Язык": "Language",
    "Системный": "System",
    "(действует со следующего запуска)": "(takes effect at the next start)",
    # The precise trace
    "Найдено: %1 из %2": "Found: %1 of %2",
    ", чувствительность %1": ", sensitivity %1",
    "Линия найдена только в %1 из %2 столбцов": "The line was found in only %1 of %2 columns",
    "Точная оцифровка": "Precise digitizing",
    "Субпиксельная точность": "Sub-pixel precision",
    "Строка линии — центр полосы с долями пикселя; значения берутся в центрах пикселей":
        "The line's row is the centre of its band, to a fraction of a pixel; values are taken at pixel centres",
    "Не заполнять пропуски": "Leave gaps open",
    "Где линия не найдена, точки нет": "No point where the line is not found",
    "Следовать за линией": "Follow the line",
    "Где в столбце несколько полос цвета линии, берётся ближайшая к продолжению линии":
        "Where a column holds several bands of the line's colour, the one nearest the line's course is taken",
    "Подобрать чувствительность": "Fit the sensitivity",
    "Диапазон цветов подбирается по картинке": "The colour range is chosen from the picture",
    # Axis values dialog
    "Задайте координаты": "Enter the axis values",
}

# The same text meaning something else in one window: (context, text).
IN_CONTEXT = {
    ("quillmark::TSetAxisForm", "Отменить"): "Cancel",
}


def main(path):
    tree = ET.parse(path)
    missing = []
    for context in tree.getroot().iter("context"):
        name = context.find("name").text
        for message in context.iter("message"):
            source = message.find("source").text
            translation = message.find("translation")
            english = IN_CONTEXT.get((name, source), ENGLISH.get(source))
            if english is None:
                missing.append(source)
                continue
            translation.text = english
            translation.attrib.pop("type", None)
    tree.write(path, encoding="utf-8", xml_declaration=True)
    for source in missing:
        print("no English for:", repr(source), file=sys.stderr)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "translations/quillmark_en.ts"))
