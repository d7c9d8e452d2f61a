<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CClientProgram</name>
    <message>
        <source>no device of the server %1 can be used</source>
        <translation>ни одно устройство сервера %1 не может быть использовано</translation>
    </message>
</context>
<context>
    <name>CConnectionStatus</name>
    <message>
        <source> - Replay: %1</source>
        <translation> - Воспроизведение: %1</translation>
    </message>
    <message>
        <source> Version </source>
        <translation> Версия </translation>
    </message>
    <message>
        <source> on </source>
        <translation> на </translation>
    </message>
    <message>
        <source>Local Computer</source>
        <translation>локальном компьютере</translation>
    </message>
    <message>
        <source>Version </source>
        <translation>Версия </translation>
    </message>
    <message>
        <source>Server: %1</source>
        <translation>Сервер: %1</translation>
    </message>
    <message>
        <source>Local device</source>
        <translation>Локальное устройство</translation>
    </message>
    <message>
        <source>No device</source>
        <translation>Нет устройства</translation>
    </message>
    <message>
        <source>%1 · shared: %2</source>
        <translation>%1 · общий доступ: %2</translation>
    </message>
    <message>
        <source>%1 · Reconnecting...</source>
        <translation>%1 · Переподключение...</translation>
    </message>
</context>
<context>
    <name>CCsvExport</name>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>Не удалось записать %1: %2</translation>
    </message>
    <message>
        <source>%1: a file of the %2 device, not of the %3</source>
        <translation>%1: файл устройства %2, а не %3</translation>
    </message>
    <message>
        <source>%1: the file is damaged or cut short</source>
        <translation>%1: файл повреждён или обрезан</translation>
    </message>
    <message>
        <source>%1: the file could not be opened</source>
        <translation>%1: не удалось открыть файл</translation>
    </message>
    <message>
        <source>There are no data files to export.</source>
        <translation>Нет файлов данных для экспорта.</translation>
    </message>
    <message>
        <source>Nothing was exported:</source>
        <translation>Ничего не экспортировано:</translation>
    </message>
    <message>
        <source>Exported to %1, except:</source>
        <translation>Экспортировано в %1, кроме:</translation>
    </message>
</context>
<context>
    <name>CDeviceSelectDialog</name>
    <message>
        <source>Select Device</source>
        <translation>Выбор устройства</translation>
    </message>
    <message>
        <source>Select device you want to work with:</source>
        <translation>Выберите устройство для работы:</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Выбрать</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>CExportActions</name>
    <message>
        <source>Export to CSV...</source>
        <translation>Экспорт в CSV...</translation>
    </message>
    <message>
        <source>Export the selected data file, or the data files of the selected folder, to CSV</source>
        <translation>Экспортировать выбранный файл данных или файлы данных выбранной папки в CSV</translation>
    </message>
    <message>
        <source>Export Event List to CSV...</source>
        <translation>Экспорт списка событий в CSV...</translation>
    </message>
    <message>
        <source>Export the events of the List page to CSV</source>
        <translation>Экспортировать события со страницы «Список» в CSV</translation>
    </message>
    <message>
        <source>Export the data collected live to CSV</source>
        <translation>Экспортировать данные, собранные в реальном времени, в CSV</translation>
    </message>
    <message>
        <source>There are no data files in this folder.</source>
        <translation>В этой папке нет файлов данных.</translation>
    </message>
    <message>
        <source>No event list is shown.</source>
        <translation>Список событий не показан.</translation>
    </message>
    <message>
        <source>There&apos;s no data to export!</source>
        <translation>Нет данных для экспорта!</translation>
    </message>
    <message>
        <source>Export to CSV</source>
        <translation>Экспорт в CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Файлы CSV (*.csv)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Все файлы (*)</translation>
    </message>
    <message>
        <source>Exported to %1</source>
        <translation>Экспортировано в %1</translation>
    </message>
</context>
<context>
    <name>CLiveFeed</name>
    <message numerus="yes">
        <source>%n live record(s) were missed before %1; the gap is marked in the recording.</source>
        <translation>
            <numerusform>Перед %1 пропущена %n запись; пропуск отмечен в записи сеанса.</numerusform>
            <numerusform>Перед %1 пропущены %n записи; пропуск отмечен в записи сеанса.</numerusform>
            <numerusform>Перед %1 пропущено %n записей; пропуск отмечен в записи сеанса.</numerusform>
        </translation>
    </message>
    <message>
        <source>Live records were missed before %1; the gap is marked in the recording.</source>
        <translation>Перед %1 были пропущены записи; пропуск отмечен в записи сеанса.</translation>
    </message>
    <message>
        <source>The detector&apos;s clock went back %1 s to %2: the live view goes on, %3 s ahead of the detector&apos;s clock; the recording keeps the detector&apos;s times.</source>
        <translation>Часы детектора отошли назад на %1 с, к %2: отображение продолжается, опережая часы детектора на %3 с; запись сеанса хранит время детектора.</translation>
    </message>
</context>
<context>
    <name>CLiveRecorder</name>
    <message>
        <source>Cannot start the recording %1: %2</source>
        <translation>Не удалось начать запись %1: %2</translation>
    </message>
    <message>
        <source>no lock file can be made beside it</source>
        <translation>рядом с ней нельзя создать файл блокировки</translation>
    </message>
    <message>
        <source>The recording stopped: %1. What was recorded so far is kept.</source>
        <translation>Запись остановлена: %1. Уже записанное сохранено.</translation>
    </message>
    <message>
        <source>the file exists</source>
        <translation>файл уже существует</translation>
    </message>
    <message>
        <source>Recording paused: the storage disk has less than %1 MB free.</source>
        <translation>Запись приостановлена: на диске хранилища свободно меньше %1 МБ.</translation>
    </message>
    <message>
        <source>Recording resumed: the storage disk has space again.</source>
        <translation>Запись возобновлена: на диске хранилища снова есть место.</translation>
    </message>
</context>
<context>
    <name>CLogArea</name>
    <message>
        <source>List</source>
        <translation>Список</translation>
    </message>
    <message>
        <source>This log file is for </source>
        <translation>Этот файл журнала предназначен для устройства </translation>
    </message>
    <message>
        <source> device!</source>
        <translation>!</translation>
    </message>
    <message>
        <source>Loading file...</source>
        <translation>Загрузка файла...</translation>
    </message>
    <message>
        <source>An error occured loading the file!</source>
        <translation>Ошибка при загрузке файла!</translation>
    </message>
    <message>
        <source>A file loaded</source>
        <translation>Файл загружен</translation>
    </message>
</context>
<context>
    <name>CLogDownload</name>
    <message>
        <source>No connection with the device!</source>
        <translation>Нет связи с устройством!</translation>
    </message>
    <message>
        <source>Downloading the log...</source>
        <translation>Загрузка журнала...</translation>
    </message>
    <message>
        <source>Reading the log from the internal flash memory</source>
        <translation>Чтение журнала из внутренней флэш-памяти</translation>
    </message>
    <message>
        <source>An error occured reading the log. Retry?</source>
        <translation>Ошибка при чтении журнала. Повторить?</translation>
    </message>
    <message>
        <source>The server shares this detector read-only: its log cannot be downloaded from here.</source>
        <translation>Сервер предоставляет этот детектор только для чтения: загрузить его журнал отсюда нельзя.</translation>
    </message>
    <message>
        <source>Parsing the log...</source>
        <translation>Разбор журнала...</translation>
    </message>
    <message>
        <source>Error loading events!</source>
        <translation>Ошибка загрузки событий!</translation>
    </message>
    <message>
        <source>No new events!</source>
        <translation>Новых событий нет!</translation>
    </message>
    <message>
        <source>The log has been successfully read!</source>
        <translation>Журнал успешно прочитан!</translation>
    </message>
</context>
<context>
    <name>CMainWindow</name>
    <message>
        <source>Report...</source>
        <translation>Отчёт...</translation>
    </message>
    <message>
        <source>A PDF report of the files chosen in the storage, or of the live session</source>
        <translation>Отчёт PDF по файлам, выбранным в хранилище, или по текущему сеансу</translation>
    </message>
    <message>
        <source>Replay...</source>
        <translation>Воспроизвести...</translation>
    </message>
    <message>
        <source>Replay</source>
        <translation>Воспроизвести</translation>
    </message>
    <message>
        <source>Storage Content</source>
        <translation>Содержимое хранилища</translation>
    </message>
    <message>
        <source>Browse for data store folder</source>
        <translation>Выбрать папку хранилища данных</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Обзор...</translation>
    </message>
    <message>
        <source>Create new folder</source>
        <translation>Создать новую папку</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Создать</translation>
    </message>
    <message>
        <source>Rename selected file or folder</source>
        <translation>Переименовать выбранный файл или папку</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Переименовать</translation>
    </message>
    <message>
        <source>Delete selected file or folder</source>
        <translation>Удалить выбранный файл или папку</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Saved data store contents</source>
        <translation>Содержимое хранилища сохранённых данных</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Развернуть</translation>
    </message>
    <message>
        <source>Download and parse log from the device</source>
        <translation>Загрузить журнал из устройства и разобрать его</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Загрузить</translation>
    </message>
    <message>
        <source>Number of Events</source>
        <translation>Число событий</translation>
    </message>
    <message>
        <source>Diagram</source>
        <translation>Диаграмма</translation>
    </message>
    <message>
        <source>Clear Data</source>
        <translation>Очистить</translation>
    </message>
    <message>
        <source>Save Data</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Autoscroll</source>
        <translation>Автопрокрутка</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Хранилище</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Журнал</translation>
    </message>
    <message>
        <source>Realtime</source>
        <translation>Реальное время</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Change device...</source>
        <translation>Сменить устройство...</translation>
    </message>
    <message>
        <source>Start Server</source>
        <translation>Запустить сервер</translation>
    </message>
    <message>
        <source>Preferences...</source>
        <translation>Настройки...</translation>
    </message>
    <message>
        <source>Reset to defaults...</source>
        <translation>Сбросить настройки...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Create Folder...</source>
        <translation>Создать папку...</translation>
    </message>
    <message>
        <source>Rename...</source>
        <translation>Переименовать...</translation>
    </message>
    <message>
        <source>Delete All...</source>
        <translation>Удалить всё...</translation>
    </message>
    <message>
        <source>Expand All</source>
        <translation>Развернуть всё</translation>
    </message>
    <message>
        <source>Collapse All</source>
        <translation>Свернуть всё</translation>
    </message>
    <message>
        <source>Download...</source>
        <translation>Загрузить...</translation>
    </message>
    <message>
        <source>Clear Data...</source>
        <translation>Очистить данные...</translation>
    </message>
    <message>
        <source>Save Data...</source>
        <translation>Сохранить данные...</translation>
    </message>
    <message>
        <source>Manual...</source>
        <translation>Руководство...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>О программе...</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Готово</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Обычный</translation>
    </message>
    <message>
        <source>Online</source>
        <translation>На связи</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>Нет связи</translation>
    </message>
    <message>
        <source>Device data processing error!</source>
        <translation>Ошибка обработки данных устройства!</translation>
    </message>
    <message>
        <source>Error:</source>
        <translation>Ошибка:</translation>
    </message>
    <message>
        <source>Device data exchange error occurred! Trying to restart exchange process...</source>
        <translation>Ошибка обмена данными с устройством! Перезапуск обмена...</translation>
    </message>
    <message>
        <source>Do you really want to delete all collected data?</source>
        <translation>Вы действительно хотите удалить все собранные данные?</translation>
    </message>
    <message>
        <source>Collected data cleared</source>
        <translation>Собранные данные удалены</translation>
    </message>
    <message>
        <source>server error</source>
        <translation>ошибка сервера</translation>
    </message>
    <message>
        <source>device GUI error</source>
        <translation>ошибка интерфейса устройства</translation>
    </message>
    <message>
        <source>Failed to connect: </source>
        <translation>Не удалось подключиться: </translation>
    </message>
    <message>
        <source>Version </source>
        <translation>Версия </translation>
    </message>
    <message>
        <source>There&apos;s no data to save!</source>
        <translation>Нет данных для сохранения!</translation>
    </message>
    <message>
        <source>An error occured saving collected data!</source>
        <translation>Ошибка при сохранении собранных данных!</translation>
    </message>
    <message>
        <source>Collected data saved</source>
        <translation>Собранные данные сохранены</translation>
    </message>
    <message>
        <source>The log has been downloaded and parsed</source>
        <translation>Журнал загружен и разобран</translation>
    </message>
    <message>
        <source>Do you really want to reset program settings to defaults?</source>
        <translation>Вы действительно хотите вернуть настройки программы к исходным?</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>© 2026 Ondrix. All rights reserved.</source>
        <translation>© 2026 Ondrix. Все права защищены.</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Список</translation>
    </message>
</context>
<context>
    <name>CManualWindow</name>
    <message>
        <source>Manual</source>
        <translation>Руководство</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Найти</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Скрыть</translation>
    </message>
</context>
<context>
    <name>CMetaDevice</name>
    <message>
        <source>Network error!</source>
        <translation>Ошибка сети!</translation>
    </message>
    <message>
        <source>Network timed out!</source>
        <translation>Истекло время ожидания сети!</translation>
    </message>
    <message>
        <source>Network transmission error!</source>
        <translation>Ошибка передачи по сети!</translation>
    </message>
    <message>
        <source>GetRecord: wrong answer format!</source>
        <translation>GetRecord: неверный формат ответа!</translation>
    </message>
    <message>
        <source>GetCurrentRecord: wrong answer format!</source>
        <translation>GetCurrentRecord: неверный формат ответа!</translation>
    </message>
</context>
<context>
    <name>CPreferencesDialog</name>
    <message>
        <source>General</source>
        <translation>Общие</translation>
    </message>
    <message>
        <source>Alerts</source>
        <translation>Тревоги</translation>
    </message>
    <message>
        <source>Record the live session in the storage folder</source>
        <translation>Записывать сеанс в папку хранения</translation>
    </message>
    <message>
        <source>Keeps what the detector sends on disk as it arrives, so that a crash or a power cut loses nothing</source>
        <translation>Сохраняет на диск всё, что присылает детектор, по мере поступления, чтобы сбой или отключение питания ничего не уничтожили</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Recordings kept</source>
        <translation>Хранение записей</translation>
    </message>
    <message>
        <source>At most:</source>
        <translation>Не больше:</translation>
    </message>
    <message>
        <source> GB</source>
        <translation> ГБ</translation>
    </message>
    <message>
        <source>The oldest recordings are deleted once all of them take more</source>
        <translation>Самые старые записи удаляются, когда все вместе занимают больше</translation>
    </message>
    <message>
        <source>For at most:</source>
        <translation>Не дольше:</translation>
    </message>
    <message>
        <source> days</source>
        <translation> дн.</translation>
    </message>
    <message>
        <source>Recordings older than this are deleted</source>
        <translation>Записи старше этого срока удаляются</translation>
    </message>
    <message>
        <source>Pause under:</source>
        <translation>Пауза, если свободно меньше:</translation>
    </message>
    <message>
        <source> MB free</source>
        <translation> МБ</translation>
    </message>
    <message>
        <source>Recording pauses while the storage disk has less free space than this, and resumes by itself</source>
        <translation>Запись приостанавливается, пока на диске хранилища меньше свободного места, и возобновляется сама</translation>
    </message>
</context>
<context>
    <name>CProgressDialog</name>
    <message>
        <source>Progress</source>
        <translation>Ход выполнения</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>CRecordingCloser</name>
    <message>
        <source>closing was stopped</source>
        <translation>закрытие прервано</translation>
    </message>
    <message>
        <source>An interrupted recording could not be closed: %1</source>
        <translation>Прерванную запись не удалось закрыть: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n interrupted recording(s) closed and kept</source>
        <translation>
            <numerusform>%n прерванная запись закрыта и сохранена</numerusform>
            <numerusform>%n прерванные записи закрыты и сохранены</numerusform>
            <numerusform>%n прерванных записей закрыто и сохранено</numerusform>
        </translation>
    </message>
    <message>
        <source>, %1 records</source>
        <translation>, записей: %1</translation>
    </message>
    <message numerus="yes">
        <source>; %n damaged place(s) (%1 bytes) could not be read and were left in the file</source>
        <translation>
            <numerusform>; %n повреждённое место (%1 байт) не прочитано и оставлено в файле</numerusform>
            <numerusform>; %n повреждённых места (%1 байт) не прочитаны и оставлены в файле</numerusform>
            <numerusform>; %n повреждённых мест (%1 байт) не прочитаны и оставлены в файле</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CRecordingCodec</name>
    <message>
        <source>The recording is whole.</source>
        <translation>Запись цела.</translation>
    </message>
    <message>
        <source>The recording ends inside a record; everything before it was kept.</source>
        <translation>Запись обрывается внутри записи; всё до неё сохранено.</translation>
    </message>
    <message>
        <source>The recording is damaged after byte %1; everything before it was kept.</source>
        <translation>Запись повреждена после байта %1; всё до него сохранено.</translation>
    </message>
    <message>
        <source>The recording was written by a newer version of the program and cannot be read.</source>
        <translation>Запись сделана более новой версией программы и не может быть прочитана.</translation>
    </message>
    <message>
        <source>The file is not a recording.</source>
        <translation>Файл не является записью.</translation>
    </message>
    <message>
        <source>The recording is damaged in %1 place(s), %2 bytes in all, the first at byte %3; everything else was kept.</source>
        <translation>Запись повреждена в %1 местах, всего %2 байт, первое — на байте %3; всё остальное сохранено.</translation>
    </message>
</context>
<context>
    <name>CReplayBar</name>
    <message>
        <source>Replay</source>
        <translation>Воспроизведение</translation>
    </message>
    <message>
        <source>Play or pause the replay</source>
        <translation>Воспроизвести или приостановить</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Воспроизвести</translation>
    </message>
    <message>
        <source>Replay speed</source>
        <translation>Скорость воспроизведения</translation>
    </message>
    <message>
        <source>1x</source>
        <translation>1x</translation>
    </message>
    <message>
        <source>10x</source>
        <translation>10x</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Макс.</translation>
    </message>
    <message>
        <source>Go to a moment of the file</source>
        <translation>Перейти к моменту файла</translation>
    </message>
    <message>
        <source>End the replay and return to the live view</source>
        <translation>Завершить воспроизведение и вернуться к текущим данным</translation>
    </message>
    <message>
        <source>Close Replay</source>
        <translation>Закрыть воспроизведение</translation>
    </message>
    <message>
        <source>Replay: %1</source>
        <translation>Воспроизведение: %1</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Пауза</translation>
    </message>
</context>
<context>
    <name>CReplayController</name>
    <message>
        <source>Replaying the readable part of %1: %2</source>
        <translation>Воспроизводится читаемая часть файла %1: %2</translation>
    </message>
    <message>
        <source>Replay</source>
        <translation>Воспроизведение</translation>
    </message>
    <message>
        <source>The replay reached the end of %1</source>
        <translation>Воспроизведение файла %1 дошло до конца</translation>
    </message>
    <message>
        <source>Recordings and realtime data files (%1 *.rdf)</source>
        <translation>Записи и файлы данных реального времени (%1 *.rdf)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Все файлы (*)</translation>
    </message>
    <message>
        <source>Replay a file</source>
        <translation>Воспроизвести файл</translation>
    </message>
</context>
<context>
    <name>CReplaySource</name>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation>Файл %1 не удаётся открыть: %2</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MiB and is not replayed.</source>
        <translation>Файл %1 больше %2 МиБ и не воспроизводится.</translation>
    </message>
    <message>
        <source>%1 holds nothing to replay.</source>
        <translation>В файле %1 нечего воспроизводить.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>Файл %1 не удаётся прочитать.</translation>
    </message>
    <message>
        <source>%1 is neither a live recording nor a realtime data file, or it is damaged.</source>
        <translation>Файл %1 не является ни записью сеанса, ни файлом данных реального времени, или он повреждён.</translation>
    </message>
    <message>
        <source>%1 comes from a device of another type (%2).</source>
        <translation>Файл %1 записан устройством другого типа (%2).</translation>
    </message>
</context>
<context>
    <name>CReportActions</name>
    <message>
        <source>Realtime diagram</source>
        <translation>Диаграмма реального времени</translation>
    </message>
    <message>
        <source>Spectrum and waterfall</source>
        <translation>Спектр и водопад</translation>
    </message>
    <message>
        <source>There is nothing to report: choose data files in the storage, or collect live data first.</source>
        <translation>Отчёт составлять не из чего: выберите файлы данных в хранилище или сначала соберите текущие данные.</translation>
    </message>
    <message>
        <source>report</source>
        <translation>отчёт</translation>
    </message>
    <message>
        <source>Writing the report...</source>
        <translation>Запись отчёта...</translation>
    </message>
    <message>
        <source>The report has been written: %1</source>
        <translation>Отчёт записан: %1</translation>
    </message>
    <message>
        <source>The report has been written, but no viewer could open it: %1</source>
        <translation>Отчёт записан, но открыть его не удалось: %1</translation>
    </message>
</context>
<context>
    <name>CReportBuilder</name>
    <message>
        <source>event log</source>
        <translation>журнал событий</translation>
    </message>
    <message>
        <source>live data, automatic mode (all bands)</source>
        <translation>текущие данные, автоматический режим (все диапазоны)</translation>
    </message>
    <message>
        <source>live data, one band</source>
        <translation>текущие данные, один диапазон</translation>
    </message>
    <message>
        <source>Mode: %1</source>
        <translation>Режим: %1</translation>
    </message>
    <message>
        <source>Thresholds: %1</source>
        <translation>Пороги: %1</translation>
    </message>
    <message>
        <source>%1 holds data of another device (%2).</source>
        <translation>%1 содержит данные другого устройства (%2).</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>Не удалось прочитать %1.</translation>
    </message>
    <message>
        <source>No device is connected.</source>
        <translation>Устройство не подключено.</translation>
    </message>
    <message>
        <source>Live session</source>
        <translation>Текущий сеанс</translation>
    </message>
</context>
<context>
    <name>CReportDialog</name>
    <message>
        <source>Sweep Report</source>
        <translation>Отчёт об обследовании</translation>
    </message>
    <message>
        <source>Title block</source>
        <translation>Титульные сведения</translation>
    </message>
    <message>
        <source>Site:</source>
        <translation>Объект:</translation>
    </message>
    <message>
        <source>Operator:</source>
        <translation>Оператор:</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>С:</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>По:</translation>
    </message>
    <message>
        <source>Detector:</source>
        <translation>Детектор:</translation>
    </message>
    <message>
        <source>Settings:</source>
        <translation>Настройки:</translation>
    </message>
    <message>
        <source>Data:</source>
        <translation>Данные:</translation>
    </message>
    <message>
        <source>Paper:</source>
        <translation>Бумага:</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Letter</translation>
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
        <source>Open the report when it is written</source>
        <translation>Открыть отчёт после записи</translation>
    </message>
    <message>
        <source>Write the report</source>
        <translation>Запись отчёта</translation>
    </message>
    <message>
        <source>PDF document (*.pdf)</source>
        <translation>Документ PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Compare with the baseline of:</source>
        <translation>Сравнить с фоном объекта:</translation>
    </message>
    <message>
        <source>A site whose newest baseline the data is compared with in the report</source>
        <translation>Объект, с самым новым фоном которого данные сравниваются в отчёте</translation>
    </message>
    <message>
        <source> dB</source>
        <translation> дБ</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>Запас:</translation>
    </message>
</context>
<context>
    <name>CReportWriter</name>
    <message>
        <source>Started</source>
        <translation>Начало</translation>
    </message>
    <message>
        <source>Detector</source>
        <translation>Детектор</translation>
    </message>
    <message>
        <source>Acknowledged</source>
        <translation>Принято</translation>
    </message>
    <message>
        <source>Alerts</source>
        <translation>Тревоги</translation>
    </message>
    <message>
        <source>lasting</source>
        <translation>продолжается</translation>
    </message>
    <message>
        <source>Sweep report</source>
        <translation>Отчёт об обследовании</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Страница %1 из %2</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>с %1 по %2</translation>
    </message>
    <message>
        <source>Site:</source>
        <translation>Объект:</translation>
    </message>
    <message>
        <source>Operator:</source>
        <translation>Оператор:</translation>
    </message>
    <message>
        <source>Date range:</source>
        <translation>Период:</translation>
    </message>
    <message>
        <source>Detector:</source>
        <translation>Детектор:</translation>
    </message>
    <message>
        <source>Settings:</source>
        <translation>Настройки:</translation>
    </message>
    <message>
        <source>Data:</source>
        <translation>Данные:</translation>
    </message>
    <message>
        <source>Written:</source>
        <translation>Составлен:</translation>
    </message>
    <message>
        <source>Summary by band</source>
        <translation>Сводка по диапазонам</translation>
    </message>
    <message>
        <source>No records.</source>
        <translation>Записей нет.</translation>
    </message>
    <message>
        <source>Band</source>
        <translation>Диапазон</translation>
    </message>
    <message>
        <source>Threshold</source>
        <translation>Порог</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>Тревоги</translation>
    </message>
    <message>
        <source>Peak level</source>
        <translation>Пиковый уровень</translation>
    </message>
    <message>
        <source>Time over threshold</source>
        <translation>Время выше порога</translation>
    </message>
    <message>
        <source>All bands</source>
        <translation>Все диапазоны</translation>
    </message>
    <message>
        <source>Band %1</source>
        <translation>Диапазон %1</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Начало</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Длительность</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>События</translation>
    </message>
    <message>
        <source>Diagrams</source>
        <translation>Диаграммы</translation>
    </message>
    <message>
        <source>%1 dBm</source>
        <translation>%1 дБм</translation>
    </message>
    <message>
        <source>The report cannot be written: %1</source>
        <translation>Не удалось записать отчёт: %1</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Заметка</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Уровень</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Заметки</translation>
    </message>
    <message>
        <source>Compared with the baseline of %1, %2</source>
        <translation>Сравнение с базовым уровнем объекта %1 от %2</translation>
    </message>
    <message>
        <source>Flagged: a band&apos;s level over its baseline&apos;s 95th percentile by more than %1.</source>
        <translation>Отмечено: уровень диапазона выше 95-го процентиля его базового уровня более чем на %1.</translation>
    </message>
    <message>
        <source>No band stood over its baseline.</source>
        <translation>Ни один диапазон не превысил свой базовый уровень.</translation>
    </message>
    <message>
        <source>From</source>
        <translation>С</translation>
    </message>
    <message>
        <source>To</source>
        <translation>По</translation>
    </message>
    <message>
        <source>Peak</source>
        <translation>Пик</translation>
    </message>
    <message>
        <source>Excess</source>
        <translation>Превышение</translation>
    </message>
    <message>
        <source>%1 dB</source>
        <translation>%1 дБ</translation>
    </message>
    <message numerus="yes">
        <source>%n more time(s) over the baseline are not listed.</source>
        <translation>
            <numerusform>Ещё %n превышение базового уровня не показано.</numerusform>
            <numerusform>Ещё %n превышения базового уровня не показаны.</numerusform>
            <numerusform>Ещё %n превышений базового уровня не показано.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CSaveProgress</name>
    <message>
        <source>Saving the session...</source>
        <translation>Сохранение сеанса...</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Остановить</translation>
    </message>
    <message>
        <source>Saving the session: %1 records</source>
        <translation>Сохранение сеанса: записей %1</translation>
    </message>
</context>
<context>
    <name>CServerSearchDialog</name>
    <message>
        <source>Ondrix Servers Search</source>
        <translation>Поиск серверов Ondrix</translation>
    </message>
    <message>
        <source>Found servers:</source>
        <translation>Найденные серверы:</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Искать</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Выбрать</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Searching for Ondrix Servers: %1</source>
        <translation>Поиск серверов Ondrix: %1</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Ход выполнения</translation>
    </message>
    <message>
        <source>Searching for Ondrix Servers</source>
        <translation>Поиск серверов Ondrix</translation>
    </message>
</context>
<context>
    <name>CServerSharing</name>
    <message>
        <source>this computer only</source>
        <translation>только этот компьютер</translation>
    </message>
    <message>
        <source>local network, read-only</source>
        <translation>локальная сеть, только просмотр</translation>
    </message>
    <message>
        <source>local network, control for %1</source>
        <translation>локальная сеть, управление для %1</translation>
    </message>
</context>
<context>
    <name>CServerStarter</name>
    <message>
        <source>Ondrix Server is already running on this computer!</source>
        <translation>Ondrix Server уже запущен на этом компьютере!</translation>
    </message>
    <message>
        <source>Failed to run Ondrix Server! OndrixServer.exe file is missing!</source>
        <translation>Не удалось запустить Ondrix Server! Файл OndrixServer.exe не найден!</translation>
    </message>
    <message>
        <source>Ondrix Server was successfully started on this computer!</source>
        <translation>Ondrix Server успешно запущен на этом компьютере!</translation>
    </message>
</context>
<context>
    <name>CShareDialog</name>
    <message>
        <source>Start Server</source>
        <translation>Запуск сервера</translation>
    </message>
    <message>
        <source>Who may use the detector through the server?</source>
        <translation>Кто может работать с детектором через сервер?</translation>
    </message>
    <message>
        <source>This computer only</source>
        <translation>Только этот компьютер</translation>
    </message>
    <message>
        <source>Local network, read-only</source>
        <translation>Локальная сеть, только просмотр</translation>
    </message>
    <message>
        <source>Local network, with control for these addresses:</source>
        <translation>Локальная сеть, с управлением для этих адресов:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Enter the addresses or networks that may control the detector.</source>
        <translation>Введите адреса или сети, которым разрешено управлять детектором.</translation>
    </message>
    <message>
        <source>Not an address or network: %1</source>
        <translation>Это не адрес и не сеть: %1</translation>
    </message>
</context>
<context>
    <name>CStartupWindow</name>
    <message>
        <source>Ondrix Startup</source>
        <translation>Запуск Ondrix</translation>
    </message>
    <message>
        <source>Use local device</source>
        <translation>Локальное устройство</translation>
    </message>
    <message>
        <source>Connect to Ondrix Server</source>
        <translation>Подключиться к Ondrix Server</translation>
    </message>
    <message>
        <source>URL:</source>
        <translation>Адрес:</translation>
    </message>
    <message>
        <source>Search...</source>
        <translation>Поиск...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>No one device GUI library was found! Cannot continue!</source>
        <translation>Не найдено ни одной библиотеки интерфейса устройства! Продолжение невозможно!</translation>
    </message>
    <message>
        <source>No devices are connected to server </source>
        <translation>К серверу не подключено ни одного устройства: </translation>
    </message>
    <message>
        <source>Unsupported device!</source>
        <translation>Неподдерживаемое устройство!</translation>
    </message>
    <message>
        <source>Error occurred: </source>
        <translation>Произошла ошибка: </translation>
    </message>
</context>
<context>
    <name>CStoragePanel</name>
    <message>
        <source>Default Storage</source>
        <translation>Хранилище по умолчанию</translation>
    </message>
    <message>
        <source>Select a storage folder</source>
        <translation>Выберите папку хранилища</translation>
    </message>
    <message>
        <source>New storage has been loaded</source>
        <translation>Загружено новое хранилище</translation>
    </message>
    <message>
        <source>Create a folder</source>
        <translation>Создание папки</translation>
    </message>
    <message>
        <source>Folder name:</source>
        <translation>Имя папки:</translation>
    </message>
    <message>
        <source>Could not create the folder!</source>
        <translation>Не удалось создать папку!</translation>
    </message>
    <message>
        <source>A folder created</source>
        <translation>Папка создана</translation>
    </message>
    <message>
        <source>Rename a file</source>
        <translation>Переименование файла</translation>
    </message>
    <message>
        <source>New file name:</source>
        <translation>Новое имя файла:</translation>
    </message>
    <message>
        <source>Could not rename the file!</source>
        <translation>Не удалось переименовать файл!</translation>
    </message>
    <message>
        <source>A file renamed</source>
        <translation>Файл переименован</translation>
    </message>
    <message>
        <source>Do you really want to delete the folder and all its content?</source>
        <translation>Вы действительно хотите удалить папку со всем её содержимым?</translation>
    </message>
    <message>
        <source>Do you really want to delete the file?</source>
        <translation>Вы действительно хотите удалить файл?</translation>
    </message>
    <message>
        <source>Could not delete the folder!</source>
        <translation>Не удалось удалить папку!</translation>
    </message>
    <message>
        <source>Could not delete the file!</source>
        <translation>Не удалось удалить файл!</translation>
    </message>
    <message>
        <source>A folder has been deleted</source>
        <translation>Папка удалена</translation>
    </message>
    <message>
        <source>A file has been deleted</source>
        <translation>Файл удалён</translation>
    </message>
    <message>
        <source>Do you really want to delete all the items in the archive?</source>
        <translation>Вы действительно хотите удалить все элементы архива?</translation>
    </message>
    <message>
        <source>The recording is being written. It can be deleted once its session has ended.</source>
        <translation>Запись ещё ведётся. Её можно удалить после окончания сеанса.</translation>
    </message>
</context>
<context>
    <name>CStorageTree</name>
    <message>
        <source>%1 (older format)</source>
        <translation>%1 (прежний формат)</translation>
    </message>
    <message>
        <source>%1 (being recorded or not yet closed)</source>
        <translation>%1 (ведётся или ещё не закрыта)</translation>
    </message>
    <message>
        <source>%1 (no records)</source>
        <translation>%1 (нет записей)</translation>
    </message>
    <message numerus="yes">
        <source>%1 – %2, %n record(s)</source>
        <translation>
            <numerusform>%1 – %2, %n запись</numerusform>
            <numerusform>%1 – %2, %n записи</numerusform>
            <numerusform>%1 – %2, %n записей</numerusform>
        </translation>
    </message>
    <message>
        <source> (gaps or damage)</source>
        <translation> (пропуски или повреждения)</translation>
    </message>
</context>
<context>
    <name>CLogNotes</name>
    <message>
        <source>Note</source>
        <translation>Заметка</translation>
    </message>
</context>
<context>
    <name>CNoteActions</name>
    <message>
        <source>Add Note...</source>
        <translation>Добавить заметку...</translation>
    </message>
    <message>
        <source>Note...</source>
        <translation>Заметка...</translation>
    </message>
    <message>
        <source>Write down where you are at this moment (Ctrl+N)</source>
        <translation>Записать, где вы находитесь в этот момент (Ctrl+N)</translation>
    </message>
    <message>
        <source>The session holds %1 notes, as many as it keeps.</source>
        <translation>В сеансе уже %1 заметок — больше он не хранит.</translation>
    </message>
    <message>
        <source>A replay shows the notes of its file; notes are taken during a live session.</source>
        <translation>Воспроизведение показывает заметки своего файла; заметки добавляются во время живого сеанса.</translation>
    </message>
    <message>
        <source>Note added</source>
        <translation>Заметка добавлена</translation>
    </message>
</context>
<context>
    <name>CNoteCodec</name>
    <message>
        <source>The note is empty.</source>
        <translation>Заметка пуста.</translation>
    </message>
    <message>
        <source>The note is %1 characters long; a note holds at most %2.</source>
        <translation>Заметка длиной %1 символов; заметка может содержать не более %2.</translation>
    </message>
    <message>
        <source>The note holds a control character (code %1); a note is one line of plain text.</source>
        <translation>Заметка содержит управляющий символ (код %1); заметка — одна строка простого текста.</translation>
    </message>
</context>
<context>
    <name>CNoteDialog</name>
    <message>
        <source>Add Note</source>
        <translation>Добавить заметку</translation>
    </message>
    <message>
        <source>Where you stand, e.g. north wall, behind the desk</source>
        <translation>Где вы стоите, например: северная стена, за столом</translation>
    </message>
    <message>
        <source>Note at %1</source>
        <translation>Заметка на %1</translation>
    </message>
</context>
<context>
    <name>CNotesFile</name>
    <message>
        <source>The notes file %1 cannot be read.</source>
        <translation>Файл заметок %1 не удаётся прочитать.</translation>
    </message>
    <message>
        <source>The notes file %1 is no notes file of this program; no notes were read from it.</source>
        <translation>Файл %1 не является файлом заметок этой программы; заметки из него не прочитаны.</translation>
    </message>
    <message>
        <source>The notes file %1 is damaged; %2 note(s) were read, the damaged ones are left out.</source>
        <translation>Файл заметок %1 повреждён; прочитано заметок: %2, повреждённые пропущены.</translation>
    </message>
    <message>
        <source>The notes could not be written to %1: %2</source>
        <translation>Не удалось записать заметки в %1: %2</translation>
    </message>
</context>
<context>
    <name>CReportNotes</name>
    <message>
        <source>%1 cannot be read.</source>
        <translation>Не удаётся прочитать %1.</translation>
    </message>
</context>
<context>
    <name>CBaselineFile</name>
    <message>
        <source>A baseline of no samples compares nothing; it was not saved.</source>
        <translation>Базовый уровень без отсчётов ни с чем не сравнить; он не сохранён.</translation>
    </message>
    <message>
        <source>No storage folder is set, so the baseline has nowhere to go.</source>
        <translation>Папка хранилища не задана, сохранить базовый уровень некуда.</translation>
    </message>
    <message>
        <source>The baseline could not be written to %1: %2</source>
        <translation>Не удалось записать базовый уровень в %1: %2</translation>
    </message>
    <message>
        <source>The baseline file %1 cannot be read: %2</source>
        <translation>Не удаётся прочитать файл базового уровня %1: %2</translation>
    </message>
    <message>
        <source>The baseline file %1 is far too large to be a baseline; it was not used.</source>
        <translation>Файл %1 слишком велик для базового уровня; он не использован.</translation>
    </message>
    <message>
        <source>The file %1 is no baseline of this program; it was not used.</source>
        <translation>Файл %1 не является базовым уровнем этой программы; он не использован.</translation>
    </message>
    <message>
        <source>The baseline file %1 was written by a later version of the program; it was not used.</source>
        <translation>Файл базового уровня %1 записан более новой версией программы; он не использован.</translation>
    </message>
    <message>
        <source>The baseline file %1 is damaged; it was not used. Capture the baseline again.</source>
        <translation>Файл базового уровня %1 повреждён и не использован. Снимите базовый уровень заново.</translation>
    </message>
    <message>
        <source>The baseline file %1 holds no samples; it was not used. Capture the baseline again.</source>
        <translation>В файле базового уровня %1 нет отсчётов; он не использован. Снимите базовый уровень заново.</translation>
    </message>
    <message>
        <source>No storage folder is set, so there is no baseline to compare with.</source>
        <translation>Папка хранилища не задана, сравнивать не с чем.</translation>
    </message>
    <message>
        <source>There is no site named &quot;%1&quot; in the storage folder %2.</source>
        <translation>В папке хранилища %2 нет объекта «%1».</translation>
    </message>
    <message>
        <source>The site &quot;%1&quot; has no baseline yet; capture one first.</source>
        <translation>У объекта «%1» ещё нет базового уровня; сначала снимите его.</translation>
    </message>
</context>
<context>
    <name>CBaselineRecordings</name>
    <message>
        <source>%1 holds data of another device (%2).</source>
        <translation>%1 содержит данные другого устройства (%2).</translation>
    </message>
    <message>
        <source>%1 cannot be read as a data file.</source>
        <translation>Не удаётся прочитать %1 как файл данных.</translation>
    </message>
    <message>
        <source>%1 cannot be read as a recording.</source>
        <translation>Не удаётся прочитать %1 как запись.</translation>
    </message>
</context>
<context>
    <name>CBaselineStats</name>
    <message>
        <source>No level was measured during the capture, so there is no baseline to keep. Check that the detector sends live data and capture again.</source>
        <translation>За время съёмки не измерено ни одного уровня, сохранять нечего. Проверьте, что детектор передаёт текущие данные, и снимите базовый уровень снова.</translation>
    </message>
</context>
<context>
    <name>CReportBaseline</name>
    <message>
        <source>No device is connected.</source>
        <translation>Устройство не подключено.</translation>
    </message>
</context>
<context>
    <name>CCaptureBaselineDialog</name>
    <message>
        <source>Capture Baseline</source>
        <translation>Снять фон</translation>
    </message>
    <message>
        <source>Site:</source>
        <translation>Объект:</translation>
    </message>
    <message>
        <source>A site of the storage folder, or the name of a new one</source>
        <translation>Объект из папки хранения или имя нового</translation>
    </message>
    <message>
        <source>Minutes:</source>
        <translation>Минуты:</translation>
    </message>
    <message>
        <source>How long the room is swept while it is known clean</source>
        <translation>Сколько времени обследуется помещение, о котором известно, что оно чисто</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Начать</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>No detector is connected. A baseline is captured from the live records of a connected detector.</source>
        <translation>Детектор не подключён. Фон снимается по текущим записям подключённого детектора.</translation>
    </message>
    <message numerus="yes">
        <source>%n sample(s), %1 left</source>
        <translation>
            <numerusform>%n отсчёт, осталось %1</numerusform>
            <numerusform>%n отсчёта, осталось %1</numerusform>
            <numerusform>%n отсчётов, осталось %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The baseline of %1 (%n sample(s)) was saved to %2</source>
        <translation>
            <numerusform>Фон объекта %1 (%n отсчёт) сохранён в %2</numerusform>
            <numerusform>Фон объекта %1 (%n отсчёта) сохранён в %2</numerusform>
            <numerusform>Фон объекта %1 (%n отсчётов) сохранён в %2</numerusform>
        </translation>
    </message>
    <message>
        <source>The capture was cancelled; nothing was saved.</source>
        <translation>Снятие фона отменено; ничего не сохранено.</translation>
    </message>
    <message>
        <source>No storage folder is set, so the baseline would have nowhere to go.</source>
        <translation>Папка хранения не задана, и фон некуда было бы сохранить.</translation>
    </message>
</context>
<context>
    <name>CCompareBaselineDialog</name>
    <message>
        <source>Compare with Baseline</source>
        <translation>Сравнение с фоном</translation>
    </message>
    <message>
        <source>Site:</source>
        <translation>Объект:</translation>
    </message>
    <message>
        <source>The sites that have a baseline; the newest one is compared with</source>
        <translation>Объекты, у которых есть фон; сравнение идёт с самым новым</translation>
    </message>
    <message>
        <source>Margin:</source>
        <translation>Запас:</translation>
    </message>
    <message>
        <source> dB</source>
        <translation> дБ</translation>
    </message>
    <message>
        <source>A band is flagged when it stands over its baseline&apos;s 95th percentile by more than this</source>
        <translation>Диапазон отмечается, когда он превышает 95-й процентиль своего фона больше чем на эту величину</translation>
    </message>
    <message>
        <source>No site has a baseline yet: capture one first with Realtime &gt; Capture Baseline...</source>
        <translation>Ни у одного объекта ещё нет фона: сначала снимите его командой «Реальное время &gt; Снять фон...»</translation>
    </message>
</context>
<context>
    <name>CLogBaselineFlags</name>
    <message>
        <source>Baseline</source>
        <translation>Фон</translation>
    </message>
    <message>
        <source>From %1 to %2</source>
        <translation>С %1 по %2</translation>
    </message>
    <message>
        <source>Band %1 over baseline by %2 dB</source>
        <translation>Диапазон %1 выше фона на %2 дБ</translation>
    </message>
</context>
<context>
    <name>CBaselineActions</name>
    <message>
        <source>Capture Baseline...</source>
        <translation>Снять фон...</translation>
    </message>
    <message>
        <source>Compare with Baseline...</source>
        <translation>Сравнить с фоном...</translation>
    </message>
    <message>
        <source>Stop Comparing</source>
        <translation>Прекратить сравнение</translation>
    </message>
    <message>
        <source>The baseline of %1 was saved to %2</source>
        <translation>Фон объекта %1 сохранён в %2</translation>
    </message>
    <message>
        <source>Comparing with the baseline of %1, %2, margin %3 dB</source>
        <translation>Сравнение с фоном объекта %1 от %2, запас %3 дБ</translation>
    </message>
    <message>
        <source>The comparison with the baseline has stopped.</source>
        <translation>Сравнение с фоном прекращено.</translation>
    </message>
    <message numerus="yes">
        <source>%n time(s) a band stood over the baseline of %1</source>
        <translation>
            <numerusform>%n раз диапазон был выше фона объекта %1</numerusform>
            <numerusform>%n раза диапазон был выше фона объекта %1</numerusform>
            <numerusform>%n раз диапазон был выше фона объекта %1</numerusform>
        </translation>
    </message>
    <message>
        <source>No band stood over the baseline of %1</source>
        <translation>Ни один диапазон не был выше фона объекта %1</translation>
    </message>
</context>
<context>
    <name>CAlertRuleText</name>
    <message>
        <source>Type &quot;all&quot;, or band numbers as in &quot;0, 3, 18&quot;.</source>
        <translation>Введите &quot;all&quot; или номера диапазонов, например &quot;0, 3, 18&quot;.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no band: the bands are numbered 0 to %2.</source>
        <translation>&quot;%1&quot; — не диапазон: диапазоны нумеруются от 0 до %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; runs backwards: write the lower band first.</source>
        <translation>&quot;%1&quot; идёт в обратном порядке: сначала укажите меньший номер диапазона.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no number of seconds: type a whole number from 0 to %2.</source>
        <translation>&quot;%1&quot; — не число секунд: введите целое число от 0 до %2.</translation>
    </message>
    <message>
        <source>Type &quot;always&quot;, or days and times as in &quot;mon-fri 08:00-18:00&quot;.</source>
        <translation>Введите &quot;always&quot; или дни и время, например &quot;mon-fri 08:00-18:00&quot;.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no times: write them after the days, as in &quot;mon-fri 08:00-18:00&quot;.</source>
        <translation>В &quot;%1&quot; нет времени: укажите его после дней, например &quot;mon-fri 08:00-18:00&quot;.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no days: write them before the times, as in &quot;mon-fri 08:00-18:00&quot;.</source>
        <translation>В &quot;%1&quot; нет дней: укажите их перед временем, например &quot;mon-fri 08:00-18:00&quot;.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no span of time: write it as HH:MM-HH:MM.</source>
        <translation>&quot;%1&quot; — не промежуток времени: запишите его как ЧЧ:ММ-ЧЧ:ММ.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no time: write HH:MM, from 00:00 to 24:00.</source>
        <translation>&quot;%1&quot; — не время: запишите ЧЧ:ММ, от 00:00 до 24:00.</translation>
    </message>
    <message>
        <source>A span cannot start at 24:00: start it at 00:00 of the next day.</source>
        <translation>Промежуток не может начинаться в 24:00: начните его в 00:00 следующего дня.</translation>
    </message>
    <message>
        <source>A schedule has at most %1 spans, one for each day it names.</source>
        <translation>В расписании не более %1 промежутков, по одному на каждый названный в нём день.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no day: use mon, tue, wed, thu, fri, sat or sun.</source>
        <translation>&quot;%1&quot; — не день: используйте mon, tue, wed, thu, fri, sat или sun.</translation>
    </message>
    <message>
        <source>exceeds the baseline</source>
        <translation>выше базового уровня</translation>
    </message>
    <message>
        <source>alarm</source>
        <translation>тревога</translation>
    </message>
</context>
<context>
    <name>CAlertRulesPage</name>
    <message>
        <source>There are no detectors yet. Their alert rules can be set here once they are connected or watched.</source>
        <translation>Детекторов пока нет. Их правила тревог можно будет задать здесь, когда они подключены или отслеживаются.</translation>
    </message>
    <message>
        <source>Alert rules</source>
        <translation>Правила тревог</translation>
    </message>
    <message>
        <source>Detector:</source>
        <translation>Детектор:</translation>
    </message>
    <message>
        <source>Bands: &quot;all&quot; or numbers such as &quot;0, 3, 18&quot;. Schedule: &quot;always&quot; or days and times such as &quot;mon-fri 22:00-06:00; sat,sun 00:00-24:00&quot;</source>
        <translation>Диапазоны: &quot;all&quot; или номера, например &quot;0, 3, 18&quot;. Расписание: &quot;always&quot; или дни и время, например &quot;mon-fri 22:00-06:00; sat,sun 00:00-24:00&quot;</translation>
    </message>
    <message>
        <source>Bands</source>
        <translation>Диапазоны</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Секунды</translation>
    </message>
    <message>
        <source>Condition</source>
        <translation>Условие</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Расписание</translation>
    </message>
    <message>
        <source>Add Rule</source>
        <translation>Добавить правило</translation>
    </message>
    <message>
        <source>Remove Rule</source>
        <translation>Удалить правило</translation>
    </message>
    <message>
        <source>Default Rules</source>
        <translation>Правила по умолчанию</translation>
    </message>
    <message>
        <source>Any alarm that lasts three seconds, on any band, at any time</source>
        <translation>Любая тревога длительностью три секунды, в любом диапазоне, в любое время</translation>
    </message>
    <message>
        <source>Site for the baseline:</source>
        <translation>Объект для базового уровня:</translation>
    </message>
    <message>
        <source>The site whose newest baseline the &quot;exceeds the baseline&quot; rules of this detector compare with</source>
        <translation>Объект, с самым новым базовым уровнем которого сравнивают правила &quot;выше базового уровня&quot; этого детектора</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Звук</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Громкость</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Без звука</translation>
    </message>
    <message>
        <source>Alerts are shown but not heard</source>
        <translation>Тревоги показываются, но не звучат</translation>
    </message>
    <message>
        <source>Test Sound</source>
        <translation>Проверить звук</translation>
    </message>
    <message>
        <source>No sound output was found on this computer, so alerts cannot be heard.</source>
        <translation>На этом компьютере не найден звуковой выход, поэтому тревоги не будут слышны.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; needs a site for the baseline: choose one below, or let the rule alert on the alarm.</source>
        <translation>Для условия &quot;%1&quot; нужен объект для базового уровня: выберите его ниже или пусть правило срабатывает по тревоге.</translation>
    </message>
    <message>
        <source>Detector &quot;%1&quot;, rule %2, %3: %4</source>
        <translation>Детектор &quot;%1&quot;, правило %2, %3: %4</translation>
    </message>
    <message>
        <source>Detector &quot;%1&quot;, site for the baseline: %2</source>
        <translation>Детектор &quot;%1&quot;, объект для базового уровня: %2</translation>
    </message>
</context>
<context>
    <name>CAlertTableModel</name>
    <message>
        <source>running</source>
        <translation>продолжается</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 с</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 мин</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 мин %2 с</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 ч</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 ч %2 мин</translation>
    </message>
    <message>
        <source>by %1 at %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1 dBm</source>
        <translation>%1 дБм</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Начало</translation>
    </message>
    <message>
        <source>Detector</source>
        <translation>Детектор</translation>
    </message>
    <message>
        <source>Band</source>
        <translation>Диапазон</translation>
    </message>
    <message>
        <source>Peak</source>
        <translation>Пик</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Длительность</translation>
    </message>
    <message>
        <source>Acknowledged</source>
        <translation>Принято</translation>
    </message>
</context>
<context>
    <name>CAlertListWindow</name>
    <message>
        <source>Alerts</source>
        <translation>Тревоги</translation>
    </message>
    <message>
        <source>Acknowledge</source>
        <translation>Принять</translation>
    </message>
    <message>
        <source>Acknowledge All</source>
        <translation>Принять все</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Экспорт в CSV...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Export Alerts to CSV</source>
        <translation>Экспорт тревог в CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Файлы CSV (*.csv)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Все файлы (*)</translation>
    </message>
    <message numerus="yes">
        <source>%n alert(s)</source>
        <translation>
            <numerusform>%n тревога</numerusform>
            <numerusform>%n тревоги</numerusform>
            <numerusform>%n тревог</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %n not acknowledged</source>
        <translation>
            <numerusform>%1, не принята %n</numerusform>
            <numerusform>%1, не приняты %n</numerusform>
            <numerusform>%1, не принято %n</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CAlertTrayIcon</name>
    <message>
        <source>Ondrix: all detectors quiet</source>
        <translation>Ondrix: все приборы спокойны</translation>
    </message>
    <message>
        <source>Ondrix: a detector cannot be reached</source>
        <translation>Ondrix: прибор недоступен</translation>
    </message>
    <message>
        <source>Ondrix: a band is in alarm</source>
        <translation>Ondrix: диапазон в тревоге</translation>
    </message>
    <message>
        <source>Ondrix: an alert is not acknowledged</source>
        <translation>Ondrix: тревога не принята</translation>
    </message>
    <message>
        <source>Show Overview</source>
        <translation>Показать обзор</translation>
    </message>
    <message>
        <source>Show Alerts</source>
        <translation>Показать тревоги</translation>
    </message>
    <message>
        <source>Acknowledge All</source>
        <translation>Принять все</translation>
    </message>
    <message>
        <source>Mute Sound</source>
        <translation>Выключить звук</translation>
    </message>
</context>
<context>
    <name>COverviewModel</name>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>Detector</source>
        <translation>Детектор</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Связь</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Режим</translation>
    </message>
    <message>
        <source>Bands</source>
        <translation>Диапазоны</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Тревога</translation>
    </message>
    <message>
        <source>Last Alarm</source>
        <translation>Последняя тревога</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Батарея</translation>
    </message>
    <message>
        <source>Clock</source>
        <translation>Часы</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Норма</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Разряжена</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Подключение...</translation>
    </message>
    <message>
        <source>Online</source>
        <translation>На связи</translation>
    </message>
    <message>
        <source>Not answering</source>
        <translation>Не отвечает</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>Нет связи</translation>
    </message>
    <message>
        <source>Offline: %1</source>
        <translation>Нет связи: %1</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Ручной</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Поиск</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Автоматический</translation>
    </message>
    <message>
        <source>ALERT</source>
        <translation>ТРЕВОГА</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Неизвестно</translation>
    </message>
    <message>
        <source>Quiet</source>
        <translation>Спокойно</translation>
    </message>
</context>
<context>
    <name>COverviewDetectors</name>
    <message>
        <source>This computer</source>
        <translation>Этот компьютер</translation>
    </message>
</context>
<context>
    <name>COverviewPanel</name>
    <message>
        <source>Add...</source>
        <translation>Добавить...</translation>
    </message>
    <message>
        <source>Search...</source>
        <translation>Найти...</translation>
    </message>
    <message>
        <source>Rename...</source>
        <translation>Переименовать...</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Alerts...</source>
        <translation>Тревоги...</translation>
    </message>
    <message>
        <source>No detectors yet: add one, or search for servers.</source>
        <translation>Детекторов пока нет: добавьте детектор или найдите серверы.</translation>
    </message>
    <message numerus="yes">
        <source>%n detector(s), %1 online, %2 with alerts</source>
        <translation>
            <numerusform>%n детектор, на связи %1, с тревогами %2</numerusform>
            <numerusform>%n детектора, на связи %1, с тревогами %2</numerusform>
            <numerusform>%n детекторов, на связи %1, с тревогами %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>COverviewWindow</name>
    <message>
        <source>Overview</source>
        <translation>Обзор</translation>
    </message>
</context>
<context>
    <name>COverviewActions</name>
    <message>
        <source>&amp;Overview</source>
        <translation>&amp;Обзор</translation>
    </message>
    <message>
        <source>Overview &amp;Mode</source>
        <translation>&amp;Режим обзора</translation>
    </message>
    <message>
        <source>Overview &amp;Window</source>
        <translation>&amp;Окно обзора</translation>
    </message>
    <message>
        <source>&amp;Alerts...</source>
        <translation>&amp;Тревоги...</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>Этот компьютер</translation>
    </message>
    <message>
        <source>Add Detector</source>
        <translation>Добавить детектор</translation>
    </message>
    <message>
        <source>A server&apos;s address (ondrixs:// for an encrypted one), or this computer:</source>
        <translation>Адрес сервера (ondrixs:// для зашифрованного) или этот компьютер:</translation>
    </message>
    <message>
        <source>%1 is in the overview already, or the overview is full.</source>
        <translation>%1 уже есть в обзоре, или обзор заполнен.</translation>
    </message>
    <message>
        <source>Rename Detector</source>
        <translation>Переименовать детектор</translation>
    </message>
    <message>
        <source>The name of %1 (a site, a room; empty for its address):</source>
        <translation>Имя для %1 (объект, помещение; пусто — адрес):</translation>
    </message>
    <message>
        <source>Remove Detectors</source>
        <translation>Удалить детекторы</translation>
    </message>
    <message numerus="yes">
        <source>Stop watching %n detector(s)? Their alerts stay in the alert list.</source>
        <translation>
            <numerusform>Прекратить наблюдение за %n детектором? Его тревоги останутся в списке.</numerusform>
            <numerusform>Прекратить наблюдение за %n детекторами? Их тревоги останутся в списке.</numerusform>
            <numerusform>Прекратить наблюдение за %n детекторами? Их тревоги останутся в списке.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>COverview</name>
    <message>
        <source>not answering</source>
        <translation>не отвечает</translation>
    </message>
</context>
<context>
    <name>COverviewWatch</name>
    <message>
        <source>not open: the main window works with another detector</source>
        <translation>не открыт: главное окно работает с другим детектором</translation>
    </message>
    <message>
        <source>the server shares no %1</source>
        <translation>сервер не предоставляет %1</translation>
    </message>
    <message>
        <source>not trusted yet: connect to it once from the start-up window</source>
        <translation>ещё не доверенный: подключитесь к нему один раз из стартового окна</translation>
    </message>
    <message>
        <source>its certificate changed</source>
        <translation>его сертификат изменился</translation>
    </message>
    <message>
        <source>the access key was refused</source>
        <translation>ключ доступа отклонён</translation>
    </message>
    <message>
        <source>cannot be reached</source>
        <translation>недоступен</translation>
    </message>
</context>
<context>
    <name>CAlertAnnouncer</name>
    <message>
        <source>Alert: %1</source>
        <translation>Тревога: %1</translation>
    </message>
    <message>
        <source>%1 (band %2)</source>
        <translation>%1 (диапазон %2)</translation>
    </message>
    <message>
        <source>%1 over the baseline at %2 dBm since %3</source>
        <translation>%1 выше базового уровня: %2 дБм с %3</translation>
    </message>
    <message>
        <source>%1 in alarm at %2 dBm since %3</source>
        <translation>%1 в тревоге: %2 дБм с %3</translation>
    </message>
</context>
</TS>
