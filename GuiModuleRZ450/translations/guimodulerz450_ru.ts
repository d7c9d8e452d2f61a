<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CRZ450MenuDialog</name>
    <message>
        <source>Do you really want to reset device settings to factory defaults?</source>
        <translation>Вы действительно хотите вернуть заводские настройки прибора?</translation>
    </message>
    <message>
        <source>Do you really want to clear all log records?</source>
        <translation>Вы действительно хотите удалить все записи журнала?</translation>
    </message>
    <message>
        <source>The device does not answer: %1</source>
        <translation>Прибор не отвечает: %1</translation>
    </message>
    <message>
        <source>Cannot open the file %1.</source>
        <translation>Не удаётся открыть файл %1.</translation>
    </message>
    <message>
        <source>%1 is not a menu file: a menu file holds exactly %2 bytes.</source>
        <translation>%1 не является файлом меню: файл меню содержит ровно %2 байт.</translation>
    </message>
    <message>
        <source>Cannot write the file %1.</source>
        <translation>Не удаётся записать файл %1.</translation>
    </message>
    <message>
        <source>Menu Files (*.mnu)</source>
        <translation>Файлы меню (*.mnu)</translation>
    </message>
    <message>
        <source>Open Saved Menu Data</source>
        <translation>Открыть сохранённое меню</translation>
    </message>
    <message>
        <source>Save Menu Data</source>
        <translation>Сохранить меню</translation>
    </message>
    <message>
        <source>The device returned an incomplete settings block.</source>
        <translation>Прибор вернул неполный блок настроек.</translation>
    </message>
    <message>
        <source>The device did not take the settings.</source>
        <translation>Прибор не принял настройки.</translation>
    </message>
</context>
<context>
    <name>CRZ450MenuTable</name>
    <message>
        <source>s</source>
        <comment>seconds</comment>
        <translation>с</translation>
    </message>
    <message>
        <source>dB</source>
        <translation>дБ</translation>
    </message>
    <message>
        <source>MHz</source>
        <translation>МГц</translation>
    </message>
    <message>
        <source>h</source>
        <comment>hours</comment>
        <translation>ч</translation>
    </message>
</context>
<context>
    <name>CRz450MenuDialogClass</name>
    <message>
        <source>RZ450 Menu</source>
        <translation>Меню RZ450</translation>
    </message>
    <message>
        <source>Band &amp;&amp; Logging</source>
        <translation>Диапазоны и журнал</translation>
    </message>
    <message>
        <source>Band</source>
        <translation>Диапазоны</translation>
    </message>
    <message>
        <source>CDMA 450</source>
        <translation>CDMA 450</translation>
    </message>
    <message>
        <source>GSM 900</source>
        <translation>GSM 900</translation>
    </message>
    <message>
        <source>GSM 1800</source>
        <translation>GSM 1800</translation>
    </message>
    <message>
        <source>DECT</source>
        <translation>DECT</translation>
    </message>
    <message>
        <source>3G (UMTS)</source>
        <translation>3G (UMTS)</translation>
    </message>
    <message>
        <source>4G (LTE)</source>
        <translation>4G (LTE)</translation>
    </message>
    <message>
        <source>WLAN 2.4</source>
        <translation>WLAN 2.4</translation>
    </message>
    <message>
        <source>Bluetooth</source>
        <translation>Bluetooth</translation>
    </message>
    <message>
        <source>Traffic 2.4</source>
        <translation>Трафик 2.4</translation>
    </message>
    <message>
        <source>WLAN 5</source>
        <translation>WLAN 5</translation>
    </message>
    <message>
        <source>Traffic 5</source>
        <translation>Трафик 5</translation>
    </message>
    <message>
        <source>Jammers GSM</source>
        <translation>Блокираторы GSM</translation>
    </message>
    <message>
        <source>Jammers GPS</source>
        <translation>Блокираторы GPS</translation>
    </message>
    <message>
        <source>SCAN</source>
        <translation>Скан</translation>
    </message>
    <message>
        <source>Show Base Stations (in MAN mode only)</source>
        <translation>Показывать базовые станции (только в режиме РУЧН)</translation>
    </message>
    <message>
        <source>Disable identification</source>
        <translation>Отключить идентификацию</translation>
    </message>
    <message>
        <source>Logging</source>
        <translation>Журнал</translation>
    </message>
    <message>
        <source>Enable Logging</source>
        <translation>Вести журнал</translation>
    </message>
    <message>
        <source>Min. Duration</source>
        <translation>Мин. длительность</translation>
    </message>
    <message>
        <source>Event Delay</source>
        <translation>Задержка события</translation>
    </message>
    <message>
        <source>New Bank</source>
        <translation>Новый банк</translation>
    </message>
    <message>
        <source>Clear Log</source>
        <translation>Очистить журнал</translation>
    </message>
    <message>
        <source>Sort Order</source>
        <translation>Сортировка</translation>
    </message>
    <message>
        <source>By Time</source>
        <translation>По времени</translation>
    </message>
    <message>
        <source>By Level</source>
        <translation>По уровню</translation>
    </message>
    <message>
        <source>By Band</source>
        <translation>По диапазону</translation>
    </message>
    <message>
        <source>By Duration</source>
        <translation>По длительности</translation>
    </message>
    <message>
        <source>Thresholds 1</source>
        <translation>Пороги 1</translation>
    </message>
    <message>
        <source>GSM</source>
        <translation>GSM</translation>
    </message>
    <message>
        <source>GSM 900 Threshold</source>
        <translation>Порог GSM 900</translation>
    </message>
    <message>
        <source>GSM 1800 Threshold</source>
        <translation>Порог GSM 1800</translation>
    </message>
    <message>
        <source>CDMA-3G-4G</source>
        <translation>CDMA-3G-4G</translation>
    </message>
    <message>
        <source>CDMA 450 Threshold</source>
        <translation>Порог CDMA 450</translation>
    </message>
    <message>
        <source>3G Threshold</source>
        <translation>Порог 3G</translation>
    </message>
    <message>
        <source>4G Threshold</source>
        <translation>Порог 4G</translation>
    </message>
    <message>
        <source>DECT Threshold</source>
        <translation>Порог DECT</translation>
    </message>
    <message>
        <source>Jammers</source>
        <translation>Блокираторы</translation>
    </message>
    <message>
        <source>Jammers GSM Threshold</source>
        <translation>Порог блокираторов GSM</translation>
    </message>
    <message>
        <source>Jammers GPS Threshold</source>
        <translation>Порог блокираторов GPS</translation>
    </message>
    <message>
        <source>Thresholds 2</source>
        <translation>Пороги 2</translation>
    </message>
    <message>
        <source>2.4 GHz</source>
        <translation>2,4 ГГц</translation>
    </message>
    <message>
        <source>WLAN 2.4 Threshold</source>
        <translation>Порог WLAN 2.4</translation>
    </message>
    <message>
        <source>Bluetooth Threshold</source>
        <translation>Порог Bluetooth</translation>
    </message>
    <message>
        <source>Vol. of Traffic 2.4</source>
        <translation>Объём трафика 2.4</translation>
    </message>
    <message>
        <source>5 GHz</source>
        <translation>5 ГГц</translation>
    </message>
    <message>
        <source>WLAN 5 Threshold</source>
        <translation>Порог WLAN 5</translation>
    </message>
    <message>
        <source>Vol. of Traffic 5</source>
        <translation>Объём трафика 5</translation>
    </message>
    <message>
        <source>SCAN Band</source>
        <translation>Диапазон сканирования</translation>
    </message>
    <message>
        <source>SCAN Threshold</source>
        <translation>Порог сканирования</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Range start</source>
        <translation>Начало диапазона</translation>
    </message>
    <message>
        <source>Range end</source>
        <translation>Конец диапазона</translation>
    </message>
    <message>
        <source>Band-step</source>
        <translation>Шаг</translation>
    </message>
    <message>
        <source>Bypass cellular and data bands</source>
        <translation>Пропускать диапазоны сотовой связи и передачи данных</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Система</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Русский</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>Clock</source>
        <translation>Часы</translation>
    </message>
    <message>
        <source>Set Clock</source>
        <translation>Установить часы</translation>
    </message>
    <message>
        <source>Sync with PC</source>
        <translation>Синхронизировать с ПК</translation>
    </message>
    <message>
        <source>Time Correction</source>
        <translation>Коррекция времени</translation>
    </message>
    <message>
        <source>Indication</source>
        <translation>Индикация</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Яркость</translation>
    </message>
    <message>
        <source>Display Auto-Off</source>
        <translation>Автовыключение экрана</translation>
    </message>
    <message>
        <source>Display Auto-On</source>
        <translation>Автовключение экрана</translation>
    </message>
    <message>
        <source>Sounds</source>
        <translation>Звуки</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Расписание</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Включить</translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation>Время начала</translation>
    </message>
    <message>
        <source>Stop Time</source>
        <translation>Время окончания</translation>
    </message>
    <message>
        <source>Everyday</source>
        <translation>Ежедневно</translation>
    </message>
    <message>
        <source>Defaults</source>
        <translation>По умолчанию</translation>
    </message>
    <message>
        <source>Load...</source>
        <translation>Загрузить...</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Сохранить...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>CRZ450VirtualDevice</name>
    <message>
        <source>No connection with the device!</source>
        <translation>Нет связи с прибором!</translation>
    </message>
    <message>
        <source>MHz</source>
        <translation>МГц</translation>
    </message>
    <message>
        <source>Freq</source>
        <translation>Част</translation>
    </message>
    <message>
        <source>Freq=</source>
        <translation>Част=</translation>
    </message>
    <message>
        <source>Demodulation </source>
        <translation>Демодуляция </translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>ВЫКЛ</translation>
    </message>
    <message>
        <source>AM</source>
        <translation>АМ</translation>
    </message>
    <message>
        <source>FM</source>
        <translation>ЧМ</translation>
    </message>
</context>
<context>
    <name>CRZ450DeviceGui</name>
    <message>
        <source>Spectrum</source>
        <translation>Спектр</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Уровень</translation>
    </message>
    <message>
        <source>Threshold</source>
        <translation>Порог</translation>
    </message>
    <message>
        <source>Num</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Band</source>
        <translation>Диапазон</translation>
    </message>
    <message>
        <source>Alarm Time</source>
        <translation>Время тревоги</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Длительность</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Комментарий</translation>
    </message>
    <message>
        <source>dBm</source>
        <translation>дБм</translation>
    </message>
    <message>
        <source>CDMA</source>
        <translation>CDMA</translation>
    </message>
    <message>
        <source>G900</source>
        <translation>G900</translation>
    </message>
    <message>
        <source>G1800</source>
        <translation>G1800</translation>
    </message>
    <message>
        <source>DECT</source>
        <translation>DECT</translation>
    </message>
    <message>
        <source>3G-2100</source>
        <translation>3G-2100</translation>
    </message>
    <message>
        <source>3G-900</source>
        <translation>3G-900</translation>
    </message>
    <message>
        <source>3G-SMS</source>
        <translation>3G-SMS</translation>
    </message>
    <message>
        <source>WLAN2.4</source>
        <translation>WLAN2.4</translation>
    </message>
    <message>
        <source>WLAN5</source>
        <translation>WLAN5</translation>
    </message>
    <message>
        <source>BT</source>
        <translation>BT</translation>
    </message>
    <message>
        <source>TRAF2.4</source>
        <translation>ТРАФ2.4</translation>
    </message>
    <message>
        <source>TRAF5</source>
        <translation>ТРАФ5</translation>
    </message>
    <message>
        <source>4G (LTE)</source>
        <translation>4G (LTE)</translation>
    </message>
    <message>
        <source>4G-800</source>
        <translation>4G-800</translation>
    </message>
    <message>
        <source>JAM GSM</source>
        <translation>ГЛУШ GSM</translation>
    </message>
    <message>
        <source>JAM GPS</source>
        <translation>ГЛУШ GPS</translation>
    </message>
    <message>
        <source>SCAN</source>
        <translation>СКАН</translation>
    </message>
</context>
</TS>
