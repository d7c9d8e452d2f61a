<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CLiveFeed</name>
    <message numerus="yes">
        <source>%n live record(s) were missed before %1; the gap is marked in the recording.</source>
        <translation>
            <numerusform>%n live record was missed before %1; the gap is marked in the recording.</numerusform>
            <numerusform>%n live records were missed before %1; the gap is marked in the recording.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CRecordingCloser</name>
    <message numerus="yes">
        <source>%n interrupted recording(s) closed and kept</source>
        <translation>
            <numerusform>%n interrupted recording closed and kept</numerusform>
            <numerusform>%n interrupted recordings closed and kept</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>; %n damaged place(s) (%1 bytes) could not be read and were left in the file</source>
        <translation>
            <numerusform>; %n damaged place (%1 bytes) could not be read and was left in the file</numerusform>
            <numerusform>; %n damaged places (%1 bytes) could not be read and were left in the file</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CStorageTree</name>
    <message numerus="yes">
        <source>%1 – %2, %n record(s)</source>
        <translation>
            <numerusform>%1 – %2, %n record</numerusform>
            <numerusform>%1 – %2, %n records</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CReportWriter</name>
    <message numerus="yes">
        <source>%n more time(s) over the baseline are not listed.</source>
        <translation>
            <numerusform>%n more time over the baseline is not listed.</numerusform>
            <numerusform>%n more times over the baseline are not listed.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CCaptureBaselineDialog</name>
    <message numerus="yes">
        <source>%n sample(s), %1 left</source>
        <translation>
            <numerusform>%n sample, %1 left</numerusform>
            <numerusform>%n samples, %1 left</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The baseline of %1 (%n sample(s)) was saved to %2</source>
        <translation>
            <numerusform>The baseline of %1 (%n sample) was saved to %2</numerusform>
            <numerusform>The baseline of %1 (%n samples) was saved to %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CBaselineActions</name>
    <message numerus="yes">
        <source>%n time(s) a band stood over the baseline of %1</source>
        <translation>
            <numerusform>%n time a band stood over the baseline of %1</numerusform>
            <numerusform>%n times a band stood over the baseline of %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CAlertListWindow</name>
    <message numerus="yes">
        <source>%n alert(s)</source>
        <translation>
            <numerusform>%n alert</numerusform>
            <numerusform>%n alerts</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>COverviewPanel</name>
    <message numerus="yes">
        <source>%n detector(s), %1 online, %2 with alerts</source>
        <translation>
            <numerusform>%n detector, %1 online, %2 with alerts</numerusform>
            <numerusform>%n detectors, %1 online, %2 with alerts</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>COverviewActions</name>
    <message numerus="yes">
        <source>Stop watching %n detector(s)? Their alerts stay in the alert list.</source>
        <translation>
            <numerusform>Stop watching %n detector? Its alerts stay in the alert list.</numerusform>
            <numerusform>Stop watching %n detectors? Their alerts stay in the alert list.</numerusform>
        </translation>
    </message>
</context>
</TS>
