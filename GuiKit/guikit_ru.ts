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
</TS>
