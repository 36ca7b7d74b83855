<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>BravoSensorPlugin::Core::CompareDialog</name>
    <message>
        <source>Compare with settings file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No differences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BravoSensorPlugin::Core::SensorWindow</name>
    <message>
        <source>Offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Property tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Process data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current (mA)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switching points Pressure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switching points Temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Voltage (V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0 volt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10 volt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4 mA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>20 mA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare with settings file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare with settings file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor Settings (*.tgs)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The selected settings are not for the current sensor or are corupted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to sensor...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connected sensor does not match currently selected sensor, please try again with the proper sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sensor did not respond, please make sure it is properly connected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tGauge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor settings will be overwritten with the ones from PC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear chart history</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to clear chart history ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore factory defaults</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All settings will be restored to factory defaults, continue ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signal too low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>updating...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loaded settings will override the current project</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opening settings...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The selected settings are corupted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 is not XML.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file has no element &quot;root&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The element &quot;%1&quot; is missing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The value &quot;%2&quot; of %1 is not a number of its kind.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The value %2 of %1 is out of range (%3 to %4).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chart history &quot;%1&quot; is damaged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The selected settings are not for the current sensor</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SensorWindow</name>
    <message>
        <source>Save Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save sensor settings to file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open a saved sensor from file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supported sensors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DefaultSettings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore sensor&apos;s default settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Chart Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export chart data to file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable live data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear chart history</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print chart view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print current chart view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export chart view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export current chart view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output 1 led</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output 2 led</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch to FP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Thresholds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>writings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Tool Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor Operations Tool Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>toolBar</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>connectionSwitchingDialog</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor settings will be overwritten with the ones from PC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PC -&gt; Sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PC settings will be overwritten with the ones from the Sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor -&gt; PC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
