<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Utils::Charts::GenericChart</name>
    <message>
        <source>Chart %1</source>
        <translation>Chart %1</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
</context>
<context>
    <name>Utils::ConnectionStatus</name>
    <message>
        <source>Connected</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Disconnected</translation>
    </message>
</context>
<context>
    <name>Utils::ExportDialog</name>
    <message>
        <source>Export chart data</source>
        <translation>Export chart data</translation>
    </message>
    <message>
        <source>Delimiter</source>
        <translation>Delimiter</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tab</translation>
    </message>
    <message>
        <source>Comma</source>
        <translation>Comma</translation>
    </message>
    <message>
        <source>Semicolon</source>
        <translation>Semicolon</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Other:</source>
        <translation>Other:</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Choose the file to write</source>
        <translation>Choose the file to write</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Save As...</translation>
    </message>
    <message>
        <source>Exporting chart data...</source>
        <translation>Exporting chart data...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Utils::ProgressBarUi</name>
    <message>
        <source>Please wait...</source>
        <translation>Please wait...</translation>
    </message>
</context>
<context>
    <name>Utils::writeFileAtomically</name>
    <message>
        <source>only part of the file could be written</source>
        <translation>only part of the file could be written</translation>
    </message>
</context>
</TS>
