<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>Core</name>
    <message>
        <source>Шаг оцифровки слишком мал.</source>
        <translation>The digitizing step is too small.</translation>
    </message>
    <message>
        <source>Шаг оцифровки должен быть больше нуля.</source>
        <translation>The digitizing step must be greater than zero.</translation>
    </message>
    <message>
        <source>Область графика имеет нулевой размер.</source>
        <translation>The plot area has zero size.</translation>
    </message>
    <message>
        <source>Линия не найдена</source>
        <translation>Line not found</translation>
    </message>
    <message>
        <source>Недопустимое значение границы оси</source>
        <translation>Invalid axis limit</translation>
    </message>
    <message>
        <source>Шаг сетки оси не может быть отрицательным</source>
        <translation>The axis grid step cannot be negative</translation>
    </message>
    <message>
        <source>оцифровку</source>
        <translation>digitizing</translation>
    </message>
    <message>
        <source>добавление точки</source>
        <translation>adding a point</translation>
    </message>
    <message>
        <source>перемещение точки</source>
        <translation>moving a point</translation>
    </message>
    <message>
        <source>удаление точки</source>
        <translation>deleting a point</translation>
    </message>
    <message>
        <source>выбор точки</source>
        <translation>selecting a point</translation>
    </message>
    <message>
        <source>изменение значения Y</source>
        <translation>changing a Y value</translation>
    </message>
    <message>
        <source>удаление всех данных</source>
        <translation>deleting all data</translation>
    </message>
    <message>
        <source>калибровку</source>
        <translation>calibration</translation>
    </message>
    <message>
        <source>изменение границ оси</source>
        <translation>changing axis limits</translation>
    </message>
    <message>
        <source>изменение шага сетки</source>
        <translation>changing the grid step</translation>
    </message>
    <message>
        <source>изменение вида оси</source>
        <translation>changing the axis type</translation>
    </message>
    <message>
        <source>сдвиг оси</source>
        <translation>shifting an axis</translation>
    </message>
    <message>
        <source>изменение масштаба</source>
        <translation>changing the scale</translation>
    </message>
    <message>
        <source>загрузку калибровки</source>
        <translation>loading a calibration</translation>
    </message>
    <message>
        <source>выделение области</source>
        <translation>selecting a region</translation>
    </message>
    <message>
        <source>изменение области</source>
        <translation>changing the region</translation>
    </message>
    <message>
        <source>включение области</source>
        <translation>switching the region on or off</translation>
    </message>
    <message>
        <source>коррекцию изображения</source>
        <translation>adjusting the picture</translation>
    </message>
    <message>
        <source>сброс коррекции изображения</source>
        <translation>resetting the picture adjustments</translation>
    </message>
    <message>
        <source>изменение вида точек</source>
        <translation>changing the point style</translation>
    </message>
    <message>
        <source>Файл калибровки осей (*.cal)|*.cal</source>
        <translation>Axis calibration file (*.cal)|*.cal</translation>
    </message>
    <message>
        <source>Минимальное значение оси должно быть &lt; максимального</source>
        <translation>Axis minimum must be less than maximum</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Точки привязки по оси X совпадают</source>
        <translation>The X reference points coincide</translation>
    </message>
    <message>
        <source>Точки привязки по оси Y совпадают</source>
        <translation>The Y reference points coincide</translation>
    </message>
    <message>
        <source>На логарифмической оси X значения должны быть больше нуля</source>
        <translation>Values on a logarithmic X axis must be greater than zero</translation>
    </message>
    <message>
        <source>На логарифмической оси Y значения должны быть больше нуля</source>
        <translation>Values on a logarithmic Y axis must be greater than zero</translation>
    </message>
    <message>
        <source>Файл калибровки слишком велик</source>
        <translation>The calibration file is too large</translation>
    </message>
    <message>
        <source>Файл калибровки пуст</source>
        <translation>The calibration file is empty</translation>
    </message>
    <message>
        <source>Задайте точку Xmin и Ymin</source>
        <translation>Click the Xmin and Ymin point</translation>
    </message>
    <message>
        <source>Задайте точку Xmin</source>
        <translation>Click the Xmin point</translation>
    </message>
    <message>
        <source>Задайте точку Xmax и Ymax</source>
        <translation>Click the Xmax and Ymax point</translation>
    </message>
    <message>
        <source>Задайте точку Xmax</source>
        <translation>Click the Xmax point</translation>
    </message>
    <message>
        <source>Задайте точку Ymax</source>
        <translation>Click the Ymax point</translation>
    </message>
    <message>
        <source>Задайте точку Ymin</source>
        <translation>Click the Ymin point</translation>
    </message>
    <message>
        <source>Привязка координат по 2 точкам</source>
        <translation>Calibrate axes by 2 points</translation>
    </message>
    <message>
        <source>Привязка координат по 3 точкам</source>
        <translation>Calibrate axes by 3 points</translation>
    </message>
    <message>
        <source>Привязка координат по 4 точкам</source>
        <translation>Calibrate axes by 4 points</translation>
    </message>
    <message>
        <source>Не удалось открыть файл %s</source>
        <translation>Cannot open file %s</translation>
    </message>
    <message>
        <source>Не удалось записать файл %s</source>
        <translation>Cannot write file %s</translation>
    </message>
    <message>
        <source>Неверное значение %s в файле калибровки: "%s"</source>
        <translation>Invalid %s value in the calibration file: "%s"</translation>
    </message>
    <message>
        <source>В файле калибровки нет значения %s</source>
        <translation>The calibration file has no %s value</translation>
    </message>
</context>
<context>
    <name>quillmark::TAboutBox</name>
    <message>
        <source>О программе Quillmark</source>
        <translation>About Quillmark</translation>
    </message>
    <message>
        <source>Версия 0.61</source>
        <translation>Version 0.61</translation>
    </message>
    <message>
        <source>&lt;a href="%1"&gt;О проекте Quillmark&lt;/a&gt;</source>
        <translation>&lt;a href="%1"&gt;About the Quillmark project&lt;/a&gt;</translation>
    </message>
</context>
<context>
    <name>quillmark::THelpForm</name>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Файл справки Quillmark.txt не найден</source>
        <translation>Help file Quillmark.en.txt not found</translation>
    </message>
</context>
<context>
    <name>quillmark::TMainForm</name>
    <message>
        <source>&amp;Файл</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Открыть...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>Сохранить данные...</source>
        <translation>Save Data...</translation>
    </message>
    <message>
        <source>&amp;Выход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Правка</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Увеличить</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>Уменьшить</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>Исходный масштаб</source>
        <translation>Actual Zoom</translation>
    </message>
    <message>
        <source>Команды</source>
        <translation>Commands</translation>
    </message>
    <message>
        <source>Оцифровать</source>
        <translation>Digitize</translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Масштабировать картинку</source>
        <translation>Fit Picture</translation>
    </message>
    <message>
        <source>Привязка координат</source>
        <translation>Axis Calibration</translation>
    </message>
    <message>
        <source>По 2 точкам</source>
        <translation>By 2 Points</translation>
    </message>
    <message>
        <source>По 3 точкам</source>
        <translation>By 3 Points</translation>
    </message>
    <message>
        <source>По 4 точкам</source>
        <translation>By 4 Points</translation>
    </message>
    <message>
        <source>Скрыть картинку</source>
        <translation>Hide Picture</translation>
    </message>
    <message>
        <source>Скрыть график</source>
        <translation>Hide Graph</translation>
    </message>
    <message>
        <source>Удалить данные</source>
        <translation>Delete Data</translation>
    </message>
    <message>
        <source>&amp;Настройки</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>Панель Инструментов</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Таблица</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>Опции</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>&amp;Справка</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Справка по Quillmark</source>
        <translation>Quillmark Help</translation>
    </message>
    <message>
        <source>О программе...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>по 2 точкам</source>
        <translation>by 2 points</translation>
    </message>
    <message>
        <source>по 3 точкам</source>
        <translation>by 3 points</translation>
    </message>
    <message>
        <source>по 4 точкам</source>
        <translation>by 4 points</translation>
    </message>
    <message>
        <source>область</source>
        <translation>region</translation>
    </message>
    <message>
        <source>контур</source>
        <translation>outline</translation>
    </message>
    <message>
        <source>Открыть файл</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>Сохранить данные в файл</source>
        <translation>Save data to a file</translation>
    </message>
    <message>
        <source>Копировать данные в буфер обмена</source>
        <translation>Copy data to the clipboard</translation>
    </message>
    <message>
        <source>Отменить (Ctrl+Z)</source>
        <translation>Undo (Ctrl+Z)</translation>
    </message>
    <message>
        <source>Повторить (Ctrl+Shift+Z)</source>
        <translation>Redo (Ctrl+Shift+Z)</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Масштабировать</source>
        <translation>Fit to plot</translation>
    </message>
    <message>
        <source>Задать область оцифровки</source>
        <translation>Set the digitizing region</translation>
    </message>
    <message>
        <source>Удалить все данные</source>
        <translation>Delete all data</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Настройка</source>
        <translation>Setup</translation>
    </message>
    <message>
        <source>Координатные оси</source>
        <translation>Axes</translation>
    </message>
    <message>
        <source>Нижняя граница оси X</source>
        <translation>X axis minimum</translation>
    </message>
    <message>
        <source>Нижняя граница оси Y</source>
        <translation>Y axis minimum</translation>
    </message>
    <message>
        <source>Верхняя граница оси X</source>
        <translation>X axis maximum</translation>
    </message>
    <message>
        <source>Верхняя граница оси Y</source>
        <translation>Y axis maximum</translation>
    </message>
    <message>
        <source>Шаг</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Сдвиг</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>Лог. шкала</source>
        <translation>Log scale</translation>
    </message>
    <message>
        <source>Логарифмическая шкала</source>
        <translation>Logarithmic scale</translation>
    </message>
    <message>
        <source>Обратная</source>
        <translation>Reversed</translation>
    </message>
    <message>
        <source>Ось направлена в обратную сторону</source>
        <translation>The axis runs the other way</translation>
    </message>
    <message>
        <source>Область оцифровки</source>
        <translation>Digitizing region</translation>
    </message>
    <message>
        <source>По макс. яркости  F5</source>
        <translation>Max brightness  F5</translation>
    </message>
    <message>
        <source>По цвету  F6</source>
        <translation>By colour  F6</translation>
    </message>
    <message>
        <source>Вручную  F7</source>
        <translation>Manual  F7</translation>
    </message>
    <message>
        <source>Правка  F8</source>
        <translation>Edit  F8</translation>
    </message>
    <message>
        <source>пиксели</source>
        <translation>pixels</translation>
    </message>
    <message>
        <source>ед. оси</source>
        <translation>axis units</translation>
    </message>
    <message>
        <source>Оси</source>
        <translation>Axes</translation>
    </message>
    <message>
        <source>Оцифровка</source>
        <translation>Digitize</translation>
    </message>
    <message>
        <source>Картинка</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Сохранить текущую установку осей</source>
        <translation>Save the current axis setup</translation>
    </message>
    <message>
        <source>Загрузить</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Загрузить установку осей</source>
        <translation>Load an axis setup</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Масштаб 1:1</source>
        <translation>Actual size</translation>
    </message>
    <message>
        <source>Сохранить данные?</source>
        <translation>Save the data?</translation>
    </message>
    <message>
        <source>Удалить все данные?</source>
        <translation>Delete all data?</translation>
    </message>
    <message>
        <source>Шаг оцифровки</source>
        <translation>Digitizing step</translation>
    </message>
    <message>
        <source>Цвет линии</source>
        <translation>Line colour</translation>
    </message>
    <message>
        <source>Линия не найдена</source>
        <translation>Line not found</translation>
    </message>
    <message>
        <source>Отменить </source>
        <translation>Undo </translation>
    </message>
    <message>
        <source>Повторить </source>
        <translation>Redo </translation>
    </message>
    <message>
        <source>Яркость</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>Контраст</source>
        <translation>Contrast</translation>
    </message>
    <message>
        <source>Насыщенность</source>
        <translation>Saturation</translation>
    </message>
    <message>
        <source>Отсечь</source>
        <translation>Threshold</translation>
    </message>
    <message>
        <source>Размытие</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>Повернуть</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>Негатив</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>Возврат</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Показать картинку</source>
        <translation>Show picture</translation>
    </message>
    <message>
        <source>Найдено: %1 из %2</source>
        <translation>Found: %1 of %2</translation>
    </message>
    <message>
        <source>, чувствительность %1</source>
        <translation>, sensitivity %1</translation>
    </message>
    <message>
        <source>Линия найдена только в %1 из %2 столбцов</source>
        <translation>The line was found in only %1 of %2 columns</translation>
    </message>
    <message>
        <source>Файл данных (*.dat)|*.dat</source>
        <translation>Data file (*.dat)|*.dat</translation>
    </message>
</context>
<context>
    <name>quillmark::TOptionsForm</name>
    <message>
        <source>Опции</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Масштабировать координатную сетку относительно нуля</source>
        <translation>Scale the grid about zero</translation>
    </message>
    <message>
        <source>Иначе, относительно середины осей</source>
        <translation>Otherwise about the middle of the axes</translation>
    </message>
    <message>
        <source>Поворачивать картинку при привязке координат по 3 или 4 точкам</source>
        <translation>Straighten the picture when calibrating by 3 or 4 points</translation>
    </message>
    <message>
        <source>Не упорядочивать по X</source>
        <translation>Do not sort by X</translation>
    </message>
    <message>
        <source>Характерная толщина оцифровываемой линии</source>
        <translation>Typical thickness of the line to digitize</translation>
    </message>
    <message>
        <source>Определяется толщиной линии для оцифровки
и крутизной фронтов. Подбирается экспериментально.</source>
        <translation>Set by the thickness of the line to digitize
and the sharpness of its edges. Found by trial.</translation>
    </message>
    <message>
        <source>Характерный диапозон цветов</source>
        <translation>Typical colour range</translation>
    </message>
    <message>
        <source>В режиме оцифровки по цвету определяет диапазон учитываемых цветов
относительно заданного цвета. Подбирается экспериментально.</source>
        <translation>When digitizing by colour, the range of colours accepted
around the chosen colour. Found by trial.</translation>
    </message>
    <message>
        <source>Число знаков в оцифровываемых значениях</source>
        <translation>Significant digits of digitized values</translation>
    </message>
    <message>
        <source>Толщина линии</source>
        <translation>Line width</translation>
    </message>
    <message>
        <source>Цвет линии</source>
        <translation>Line colour</translation>
    </message>
    <message>
        <source>Цвет сетки</source>
        <translation>Grid colour</translation>
    </message>
    <message>
        <source>Чувствительность выбора точки</source>
        <translation>Point selection sensitivity</translation>
    </message>
    <message>
        <source>Цвет точки</source>
        <translation>Point colour</translation>
    </message>
    <message>
        <source>Цвет выделенной точки</source>
        <translation>Selected point colour</translation>
    </message>
    <message>
        <source>Язык</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Системный</source>
        <translation>System</translation>
    </message>
    <message>
        <source>(действует со следующего запуска)</source>
        <translation>(takes effect at the next start)</translation>
    </message>
    <message>
        <source>Точная оцифровка</source>
        <translation>Precise digitizing</translation>
    </message>
    <message>
        <source>Субпиксельная точность</source>
        <translation>Sub-pixel precision</translation>
    </message>
    <message>
        <source>Строка линии — центр полосы с долями пикселя; значения берутся в центрах пикселей</source>
        <translation>The line's row is the centre of its band, to a fraction of a pixel; values are taken at pixel centres</translation>
    </message>
    <message>
        <source>Не заполнять пропуски</source>
        <translation>Leave gaps open</translation>
    </message>
    <message>
        <source>Где линия не найдена, точки нет</source>
        <translation>No point where the line is not found</translation>
    </message>
    <message>
        <source>Следовать за линией</source>
        <translation>Follow the line</translation>
    </message>
    <message>
        <source>Где в столбце несколько полос цвета линии, берётся ближайшая к продолжению линии</source>
        <translation>Where a column holds several bands of the line's colour, the one nearest the line's course is taken</translation>
    </message>
    <message>
        <source>Подобрать чувствительность</source>
        <translation>Fit the sensitivity</translation>
    </message>
    <message>
        <source>Диапазон цветов подбирается по картинке</source>
        <translation>The colour range is chosen from the picture</translation>
    </message>
</context>
<context>
    <name>quillmark::TSetAxisForm</name>
    <message>
        <source>Задайте координаты</source>
        <translation>Enter the axis values</translation>
    </message>
    <message>
        <source>Нижняя граница оси X</source>
        <translation>X axis minimum</translation>
    </message>
    <message>
        <source>Нижняя граница оси Y</source>
        <translation>Y axis minimum</translation>
    </message>
    <message>
        <source>Верхняя граница оси X</source>
        <translation>X axis maximum</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>