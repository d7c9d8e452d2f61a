<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CQDiagramWidget</name>
    <message>
        <source>Cursor values</source>
        <translation>Значения под курсором</translation>
    </message>
    <message>
        <source> = n/a</source>
        <translation> = н/д</translation>
    </message>
    <message>
        <source> = %1 %2</source>
        <translation> = %1 %2</translation>
    </message>
    <message>
        <source>dB</source>
        <translation>дБ</translation>
    </message>
    <message>
        <source>3 minutes</source>
        <translation>3 минуты</translation>
    </message>
    <message>
        <source>10 minutes</source>
        <translation>10 минут</translation>
    </message>
    <message>
        <source>20 minutes</source>
        <translation>20 минут</translation>
    </message>
    <message>
        <source>30 minutes</source>
        <translation>30 минут</translation>
    </message>
    <message>
        <source>1 hour</source>
        <translation>1 час</translation>
    </message>
    <message>
        <source>2 hours</source>
        <translation>2 часа</translation>
    </message>
    <message>
        <source>3 hours</source>
        <translation>3 часа</translation>
    </message>
    <message>
        <source>6 hours</source>
        <translation>6 часов</translation>
    </message>
    <message>
        <source>Min = %1&lt;br&gt;Max = %2</source>
        <translation>Мин. = %1&lt;br&gt;Макс. = %2</translation>
    </message>
</context>
<context>
    <name>CQTimeDiagramBase</name>
    <message>
        <source>Min = %1 dBm&lt;br&gt;Max = %2 dBm&lt;br&gt;Visible range = %3 dBm</source>
        <translation>Мин. = %1 дБм&lt;br&gt;Макс. = %2 дБм&lt;br&gt;Видимый диапазон = %3 дБм</translation>
    </message>
    <message>
        <source>dB</source>
        <translation>дБ</translation>
    </message>
    <message>
        <source>Date/Time: %1&lt;br&gt;Level: %2 dBm</source>
        <translation>Дата/время: %1&lt;br&gt;Уровень: %2 дБм</translation>
    </message>
    <message>
        <source>0 - %1 %2</source>
        <translation>0 - %1 %2</translation>
    </message>
    <message>
        <source>dBm</source>
        <translation>дБм</translation>
    </message>
</context>
<context>
    <name>CQTimeRectsDiagram</name>
    <message>
        <source>Date/Time: %1&lt;br&gt;Duration: %2&lt;br&gt;Level: %3 dBm</source>
        <translation>Дата/время: %1&lt;br&gt;Длительность: %2&lt;br&gt;Уровень: %3 дБм</translation>
    </message>
</context>
<context>
    <name>CQLevelDiagramBase</name>
    <message>
        <source>dB</source>
        <translation>дБ</translation>
    </message>
    <message>
        <source>0 - %1 %2</source>
        <translation>0 - %1 %2</translation>
    </message>
    <message>
        <source>dBm</source>
        <translation>дБм</translation>
    </message>
</context>
<context>
    <name>CQSpectrumDiagram</name>
    <message>
        <source> MHz</source>
        <translation> МГц</translation>
    </message>
</context>
<context>
    <name>CQFreqDiagram</name>
    <message>
        <source>Min = %1 dBm&lt;br&gt;Max = %2 dBm&lt;br&gt;Visible range = %3 dBm</source>
        <translation>Мин. = %1 дБм&lt;br&gt;Макс. = %2 дБм&lt;br&gt;Видимый диапазон = %3 дБм</translation>
    </message>
</context>
<context>
    <name>CSpectrumMarkers</name>
    <message>
        <source>M%1  %2 MHz  %3 dBm</source>
        <translation>М%1  %2 МГц  %3 дБм</translation>
    </message>
    <message>
        <source>Δ M%1−M%2  %3 MHz  %4 dB</source>
        <translation>Δ М%1−М%2  %3 МГц  %4 дБ</translation>
    </message>
    <message>
        <source>M%1 pk  %2 MHz  %3 dBm</source>
        <translation>М%1 пик  %2 МГц  %3 дБм</translation>
    </message>
</context>
<context>
    <name>CMarkerOverlay</name>
    <message>
        <source>Live</source>
        <translation>Текущий спектр</translation>
    </message>
    <message>
        <source>%1 pk</source>
        <translation>%1 пик</translation>
    </message>
    <message>
        <source>Markers: a click places the selected one; 1-4 select, Left/Right move, P to the peak, F follows the peak, [ ] next peak, T trace, D delta to, Delete removes</source>
        <translation>Маркеры: щелчок ставит выбранный; 1-4 выбор, Влево/Вправо сдвиг, P на пик, F следовать за пиком, [ ] соседний пик, T кривая, D разность с, Delete удалить</translation>
    </message>
</context>
<context>
    <name>CMarkerMenu</name>
    <message>
        <source>Follow Peak</source>
        <translation>Следовать за пиком</translation>
    </message>
    <message>
        <source>Remove Marker</source>
        <translation>Удалить маркер</translation>
    </message>
    <message>
        <source>Remove All Markers</source>
        <translation>Удалить все маркеры</translation>
    </message>
    <message>
        <source>Marker %1</source>
        <translation>Маркер %1</translation>
    </message>
    <message>
        <source>Marker Trace</source>
        <translation>Кривая маркера</translation>
    </message>
    <message>
        <source>Delta To</source>
        <translation>Разность с</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Нет</translation>
    </message>
</context>
<context>
    <name>CSpectrumWindow</name>
    <message>
        <source>Spectrum</source>
        <translation>Спектр</translation>
    </message>
    <message>
        <source>%1 MHz</source>
        <translation>%1 МГц</translation>
    </message>
    <message>
        <source>%1 dBm</source>
        <translation>%1 дБм</translation>
    </message>
    <message>
        <source>SEARCH MODE</source>
        <translation>РЕЖИМ ПОИСКА</translation>
    </message>
    <message>
        <source>Signal%4: %1 MHz %2 dBm    Noise: %3 dBm</source>
        <translation>Сигнал%4: %1 МГц %2 дБм    Шум: %3 дБм</translation>
    </message>
</context>
<context>
    <name>CQOscilloscopeDiagram</name>
    <message>
        <source> dB</source>
        <translation> дБ</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> мс</translation>
    </message>
    <message>
        <source>Min = %1 dB&lt;br&gt;Max = %2 dB&lt;br&gt;Visible range = %3 dB</source>
        <translation>Мин. = %1 дБ&lt;br&gt;Макс. = %2 дБ&lt;br&gt;Видимый диапазон = %3 дБ</translation>
    </message>
    <message>
        <source>&lt;b&gt;Delta Cursor&lt;/b&gt;&lt;br&gt;Start: %1 ms&lt;br&gt;End: %2 ms&lt;br&gt;Difference: %3 ms (%4 Hz)</source>
        <translation>&lt;b&gt;Дельта-курсор&lt;/b&gt;&lt;br&gt;Начало: %1 мс&lt;br&gt;Конец: %2 мс&lt;br&gt;Разница: %3 мс (%4 Гц)</translation>
    </message>
    <message>
        <source>Position: %1 ms&lt;br&gt;Level: %3 dB</source>
        <translation>Положение: %1 мс&lt;br&gt;Уровень: %3 дБ</translation>
    </message>
</context>
<context>
    <name>COscilloscopeWindow</name>
    <message>
        <source>Oscilloscope</source>
        <translation>Осциллограф</translation>
    </message>
    <message>
        <source>Threshold</source>
        <translation>Порог</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Продолжить</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>Set Trigger Level</source>
        <translation>Задать уровень запуска</translation>
    </message>
    <message>
        <source>Toggle Delta Cursor</source>
        <translation>Дельта-курсор</translation>
    </message>
    <message>
        <source>Trigger</source>
        <translation>Запуск</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Сброс</translation>
    </message>
    <message>
        <source>Reset axis X state</source>
        <translation>Сбросить состояние оси X</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
</context>
<context>
    <name>CWaterfallWidget</name>
    <message>
        <source>%1 MHz   %2 dBm   %3</source>
        <translation>%1 МГц   %2 дБм   %3</translation>
    </message>
</context>
<context>
    <name>CWaterfallLegend</name>
    <message>
        <source>%1 dBm</source>
        <translation>%1 дБм</translation>
    </message>
</context>
<context>
    <name>CDiagramExport</name>
    <message>
        <source>The file cannot be written: %1</source>
        <translation>Не удалось записать файл: %1</translation>
    </message>
    <message>
        <source>The picture cannot be written: %1</source>
        <translation>Не удалось записать изображение: %1</translation>
    </message>
    <message>
        <source>A picture can be at most %1 × %1 pixels.</source>
        <translation>Изображение может быть не больше %1 × %1 пикселей.</translation>
    </message>
    <message>
        <source>The diagram has no size on screen: choose a size for the picture.</source>
        <translation>У диаграммы нет размера на экране: выберите размер изображения.</translation>
    </message>
    <message>
        <source>There is not enough memory for a picture of %1 × %2 pixels.</source>
        <translation>Недостаточно памяти для изображения %1 × %2 пикселей.</translation>
    </message>
</context>
<context>
    <name>CDiagramMenu</name>
    <message>
        <source>Export Image...</source>
        <translation>Экспорт изображения...</translation>
    </message>
</context>
<context>
    <name>CImageExportDialog</name>
    <message>
        <source>Export Image</source>
        <translation>Экспорт изображения</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>Файл:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Обзор...</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Формат:</translation>
    </message>
    <message>
        <source>PNG image</source>
        <translation>Изображение PNG</translation>
    </message>
    <message>
        <source>SVG drawing</source>
        <translation>Рисунок SVG</translation>
    </message>
    <message>
        <source>Chosen size:</source>
        <translation>Заданный размер:</translation>
    </message>
    <message>
        <source> px</source>
        <translation> пикс.</translation>
    </message>
    <message>
        <source>Keep proportions</source>
        <translation>Сохранять пропорции</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>Изображение PNG (*.png)</translation>
    </message>
    <message>
        <source>SVG drawing (*.svg)</source>
        <translation>Рисунок SVG (*.svg)</translation>
    </message>
    <message>
        <source>Size on screen (%1 × %2 px)</source>
        <translation>Размер на экране (%1 × %2 пикс.)</translation>
    </message>
</context>
<context>
    <name>CTraceOverlay</name>
    <message>
        <source>Max hold</source>
        <translation>Макс. удержание</translation>
    </message>
    <message>
        <source>Min hold</source>
        <translation>Мин. удержание</translation>
    </message>
    <message>
        <source>Average, last %1</source>
        <translation>Среднее, последние %1</translation>
    </message>
    <message>
        <source>Sweeps to Average...</source>
        <translation>Проходов для среднего...</translation>
    </message>
    <message>
        <source>Reset Traces</source>
        <translation>Сбросить кривые</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>Среднее</translation>
    </message>
    <message>
        <source>Sweeps the average takes:</source>
        <translation>Число проходов для среднего:</translation>
    </message>
</context>
<context>
    <name>CNewSignalsWindow</name>
    <message>
        <source>Over the reference by more than %1 dB: %2 signals</source>
        <translation>Выше опорной более чем на %1 дБ: сигналов %2</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Текущий</translation>
    </message>
    <message>
        <source>Max hold</source>
        <translation>Макс. удержание</translation>
    </message>
    <message>
        <source>New Signals</source>
        <translation>Новые сигналы</translation>
    </message>
    <message>
        <source>Frequency, MHz</source>
        <translation>Частота, МГц</translation>
    </message>
    <message>
        <source>Level, dBm</source>
        <translation>Уровень, дБм</translation>
    </message>
    <message>
        <source>Excess, dB</source>
        <translation>Превышение, дБ</translation>
    </message>
    <message>
        <source>Trace</source>
        <translation>Кривая</translation>
    </message>
</context>
<context>
    <name>CReferenceController</name>
    <message>
        <source>Reference</source>
        <translation>Опорный спектр</translation>
    </message>
    <message>
        <source>Spectrum Reference</source>
        <translation>Опорный спектр</translation>
    </message>
    <message>
        <source>Save Trace as Reference...</source>
        <translation>Сохранить кривую как опорную...</translation>
    </message>
    <message>
        <source>Load Reference...</source>
        <translation>Загрузить опорную...</translation>
    </message>
    <message>
        <source>Hide Reference</source>
        <translation>Скрыть опорную</translation>
    </message>
    <message>
        <source>Difference View</source>
        <translation>Разность</translation>
    </message>
    <message>
        <source>New Signals...</source>
        <translation>Новые сигналы...</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Текущий</translation>
    </message>
    <message>
        <source>Max hold</source>
        <translation>Макс. удержание</translation>
    </message>
    <message>
        <source>Min hold</source>
        <translation>Мин. удержание</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>Среднее</translation>
    </message>
    <message>
        <source>The trace &quot;%1&quot; has no sweep yet; nothing was saved.</source>
        <translation>У кривой «%1» ещё нет ни одного прохода; ничего не сохранено.</translation>
    </message>
    <message>
        <source>Replace it?</source>
        <translation>Заменить её?</translation>
    </message>
    <message>
        <source>No sweep has come yet. A reference is compared with the detector&apos;s present points: load it once the spectrum shows a sweep.</source>
        <translation>Ещё не пришло ни одного прохода. Опорная кривая сравнивается с текущими точками детектора: загрузите её, когда спектр покажет проход.</translation>
    </message>
    <message>
        <source>They share no frequency, so the reference cannot be compared.</source>
        <translation>Общих частот нет, поэтому сравнить с опорной кривой нельзя.</translation>
    </message>
    <message>
        <source>Resample the reference onto the present points? Points outside its range are not compared.</source>
        <translation>Пересчитать опорную кривую на текущие точки? Точки вне её диапазона не сравниваются.</translation>
    </message>
    <message>
        <source>New Signals</source>
        <translation>Новые сигналы</translation>
    </message>
    <message>
        <source>A signal is new when it passes the reference by more than (dB):</source>
        <translation>Сигнал новый, если превышает опорную кривую более чем на (дБ):</translation>
    </message>
    <message>
        <source>not comparable with the present range</source>
        <translation>несравнима с текущим диапазоном</translation>
    </message>
    <message>
        <source>Reference: %1 (%2)</source>
        <translation>Опорная: %1 (%2)</translation>
    </message>
</context>
<context>
    <name>CReferenceDialog</name>
    <message>
        <source>Spectrum Reference</source>
        <translation>Опорный спектр</translation>
    </message>
    <message>
        <source>Trace:</source>
        <translation>Кривая:</translation>
    </message>
    <message>
        <source>Site:</source>
        <translation>Объект:</translation>
    </message>
    <message>
        <source>Reference name:</source>
        <translation>Имя опорной:</translation>
    </message>
    <message>
        <source>References of the site:</source>
        <translation>Опорные кривые объекта:</translation>
    </message>
    <message>
        <source>Save Trace as Reference</source>
        <translation>Сохранить кривую как опорную</translation>
    </message>
    <message>
        <source>Load Reference</source>
        <translation>Загрузить опорную</translation>
    </message>
</context>
<context>
    <name>CReferenceFile</name>
    <message>
        <source>The site &quot;%1&quot; already has a reference named &quot;%2&quot;.</source>
        <translation>У объекта «%1» уже есть опорная кривая «%2».</translation>
    </message>
    <message>
        <source>The reference could not be written to %1: %2</source>
        <translation>Не удалось записать опорную кривую в %1: %2</translation>
    </message>
    <message>
        <source>The reference file %1 cannot be read: %2</source>
        <translation>Не удаётся прочитать файл опорной кривой %1: %2</translation>
    </message>
    <message>
        <source>The file %1 is far too large to be a reference; it was not used.</source>
        <translation>Файл %1 слишком велик для опорной кривой; он не использован.</translation>
    </message>
    <message>
        <source>The file %1 is no spectrum reference of this program; it was not used.</source>
        <translation>Файл %1 не является опорной кривой этой программы; он не использован.</translation>
    </message>
    <message>
        <source>The reference file %1 was written by another version of the program; it was not used.</source>
        <translation>Файл опорной кривой %1 записан другой версией программы; он не использован.</translation>
    </message>
    <message>
        <source>The reference file %1 is damaged; it was not used. Save the reference again.</source>
        <translation>Файл опорной кривой %1 повреждён; он не использован. Сохраните опорную кривую заново.</translation>
    </message>
    <message>
        <source>No storage folder is set, so there is no place for references.</source>
        <translation>Папка хранения не задана, опорные кривые негде хранить.</translation>
    </message>
    <message>
        <source>The reference name &quot;%1&quot; cannot be used: %2</source>
        <translation>Имя опорной кривой «%1» недопустимо: %2</translation>
    </message>
</context>
<context>
    <name>CReferenceOverlay</name>
    <message>
        <source>+%1 dB</source>
        <translation>+%1 дБ</translation>
    </message>
    <message>
        <source>0 dB</source>
        <translation>0 дБ</translation>
    </message>
    <message>
        <source>-%1 dB</source>
        <translation>-%1 дБ</translation>
    </message>
</context>
<context>
    <name>CReferenceResampler</name>
    <message>
        <source>The reference &quot;%1&quot; covers %2-%3 MHz in %4 points; the detector now scans %5-%6 MHz in %7 points.</source>
        <translation>Опорная кривая «%1» охватывает %2-%3 МГц в %4 точках; детектор сейчас сканирует %5-%6 МГц в %7 точках.</translation>
    </message>
</context>
<context>
    <name>CSpectrumReference</name>
    <message>
        <source>A reference holds 1 to %1 points, not %2.</source>
        <translation>Опорная кривая содержит от 1 до %1 точек, а не %2.</translation>
    </message>
    <message>
        <source>The range %1-%2 MHz is empty.</source>
        <translation>Диапазон %1-%2 МГц пуст.</translation>
    </message>
    <message>
        <source>A level of the reference is not a number.</source>
        <translation>Уровень опорной кривой не является числом.</translation>
    </message>
</context>
<context>
    <name>CLookWorker</name>
    <message>
        <source>cannot be reached</source>
        <translation>недоступен</translation>
    </message>
</context>
</TS>
