<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ExtensionSystem::ConnectionRegistry</name>
    <message>
        <source>already in use</source>
        <translation>bereits belegt</translation>
    </message>
</context>
<context>
    <name>TGauge::CatalogueView</name>
    <message>
        <source>Refused: %1</source>
        <translation>Abgelehnt: %1</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
</context>
<context>
    <name>TGauge::CommandLine</name>
    <message>
        <source>Opens the catalogue&apos;s sensor &lt;name&gt; (repeatable).</source>
        <translation>Öffnet den Sensor &lt;name&gt; aus dem Katalog (wiederholbar).</translation>
    </message>
    <message>
        <source>Connects every opened sensor through &lt;port&gt; once the window is up; given once per --open-sensor, connects each sensor through its own port. &lt;port&gt; is a serial port, tcp://HOST:PORT or rfc2217://HOST:PORT.</source>
        <translation>Verbindet jeden geöffneten Sensor über &lt;port&gt;, sobald das Fenster offen ist; einmal je --open-sensor angegeben, verbindet es jeden Sensor über seinen eigenen Port. &lt;port&gt; ist eine serielle Schnittstelle, tcp://HOST:PORT oder rfc2217://HOST:PORT.</translation>
    </message>
    <message>
        <source>Adds &lt;name&gt; to the port list (repeatable).</source>
        <translation>Nimmt &lt;name&gt; in die Portliste auf (wiederholbar).</translation>
    </message>
    <message>
        <source>Starts in the language &lt;code&gt; (en, de).</source>
        <translation>Startet in der Sprache &lt;code&gt; (en, de).</translation>
    </message>
    <message>
        <source>Starts in presentation mode.</source>
        <translation>Startet im Präsentationsmodus.</translation>
    </message>
    <message>
        <source>Opens the settings &lt;file&gt; in every opened sensor.</source>
        <translation>Öffnet die Einstellungsdatei &lt;file&gt; in jedem geöffneten Sensor.</translation>
    </message>
    <message>
        <source>Saves a picture of the main window to &lt;file&gt;.</source>
        <translation>Speichert ein Bild des Hauptfensters in &lt;file&gt;.</translation>
    </message>
    <message>
        <source>Quits &lt;ms&gt; milliseconds after the window came up, closing any message box (with --batch: after the sensors were connected and their settings opened).</source>
        <translation>Beendet &lt;ms&gt; Millisekunden nach dem Erscheinen des Fensters und schließt dabei jedes Meldungsfenster (mit --batch: nachdem die Sensoren verbunden und ihre Einstellungen geöffnet sind).</translation>
    </message>
    <message>
        <source>Serves &lt;port&gt; with a simulated IO-Link master; its sensor is the first --open-sensor.</source>
        <translation>Bedient &lt;port&gt; mit einem simulierten IO-Link-Master; sein Sensor ist der erste --open-sensor.</translation>
    </message>
    <message>
        <source>Prints the name of every sensor in the catalogue and quits.</source>
        <translation>Gibt den Namen jedes Sensors im Katalog aus und beendet.</translation>
    </message>
    <message>
        <source>Answers every message box at once (default button, else OK or Yes, else its escape button), prints it on stderr, never opens a file dialog, stops at the first failure and quits after the last step (--quit-after defaults to 0).</source>
        <translation>Beantwortet jedes Meldungsfenster sofort (Standardschaltfläche, sonst OK oder Ja, sonst die Abbruchschaltfläche), gibt es auf stderr aus, öffnet nie einen Dateidialog, hält beim ersten Fehler an und beendet nach dem letzten Schritt (--quit-after ist dann 0).</translation>
    </message>
    <message>
        <source>Before quitting, compares every opened sensor&apos;s parameters with the settings &lt;file&gt; (a connected sensor is read again first) and prints each difference; exit status 3 when there are any.</source>
        <translation>Vergleicht vor dem Beenden die Parameter jedes geöffneten Sensors mit der Einstellungsdatei &lt;file&gt; (ein verbundener Sensor wird zuvor neu gelesen) und gibt jeden Unterschied aus; Exit-Status 3, wenn es welche gibt.</translation>
    </message>
    <message>
        <source>Before quitting, writes the settings file of every opened sensor to &lt;file&gt;.</source>
        <translation>Schreibt vor dem Beenden die Einstellungsdatei jedes geöffneten Sensors nach &lt;file&gt;.</translation>
    </message>
    <message>
        <source>Before quitting, writes the chart data of every opened sensor to &lt;file&gt;.</source>
        <translation>Schreibt vor dem Beenden die Diagrammdaten jedes geöffneten Sensors nach &lt;file&gt;.</translation>
    </message>
    <message>
        <source>Separates the columns of --export-csv (default &quot;;&quot;).</source>
        <translation>Trennt die Spalten von --export-csv (Vorgabe &quot;;&quot;).</translation>
    </message>
    <message>
        <source>Appends every frame sent to a master and every answer or time-out to &lt;file&gt;.</source>
        <translation>Hängt jeden an einen Master gesendeten Rahmen und jede Antwort oder Zeitüberschreitung an &lt;file&gt; an.</translation>
    </message>
    <message>
        <source>tGauge: configures sensors through the plug-ins in its plug-in folder.
A run opens the sensors, connects them, opens the settings, runs for --quit-after ms,
then compares, saves, exports and takes the screenshot, and quits.
Exit status: 0 all done, 1 a sensor, port or file failed, 2 a wrong command line,
3 --compare-settings found differences.</source>
        <translation>tGauge: konfiguriert Sensoren über die Plug-ins in seinem Plug-in-Ordner.
Ein Lauf öffnet die Sensoren, verbindet sie, öffnet die Einstellungen, läuft --quit-after ms,
vergleicht dann, speichert, exportiert, nimmt das Bildschirmfoto auf und beendet.
Exit-Status: 0 alles erledigt, 1 ein Sensor, Port oder eine Datei schlug fehl, 2 eine falsche Befehlszeile,
3 --compare-settings fand Unterschiede.</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Unerwartetes Argument: %1</translation>
    </message>
    <message>
        <source>--%1 needs a value</source>
        <translation>--%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>--connect given %1 times for %2 sensors: give it once, or once per --open-sensor</source>
        <translation>--connect %1-mal für %2 Sensoren angegeben: einmal angeben oder einmal je --open-sensor</translation>
    </message>
    <message>
        <source>%1 would be written by every sensor: name it with {sensor} or {port}, or give a folder</source>
        <translation>%1 würde von jedem Sensor geschrieben: mit {sensor} oder {port} benennen oder einen Ordner angeben</translation>
    </message>
    <message>
        <source>No language %1; the languages are: %2</source>
        <translation>Keine Sprache %1; die Sprachen sind: %2</translation>
    </message>
    <message>
        <source>--quit-after needs a number of milliseconds, not: %1</source>
        <translation>--quit-after braucht eine Zahl von Millisekunden, nicht: %1</translation>
    </message>
    <message>
        <source>Loads the plug-ins from &lt;dir&gt; instead of the plugins folder beside tgauge (or else the installation&apos;s).</source>
        <translation>Lädt die Plug-ins aus &lt;dir&gt; statt aus dem Ordner plugins neben tgauge (oder sonst aus dem der Installation).</translation>
    </message>
</context>
<context>
    <name>TGauge::FrameTraceDock</name>
    <message>
        <source>Frame trace</source>
        <translation>Rahmenprotokoll</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Speichern...</translation>
    </message>
    <message>
        <source>Save frame trace</source>
        <translation>Rahmenprotokoll speichern</translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>Textdateien (*.txt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>TGauge::MainWindow</name>
    <message>
        <source>%1 gave no window for %2</source>
        <translation>%1 lieferte kein Fenster für %2</translation>
    </message>
    <message>
        <source>No sensor named %1 in the catalogue</source>
        <translation>Kein Sensor namens %1 im Katalog</translation>
    </message>
    <message>
        <source>Open a sensor first</source>
        <translation>Zuerst einen Sensor öffnen</translation>
    </message>
    <message>
        <source>tGauge</source>
        <translation>tGauge</translation>
    </message>
    <message>
        <source>Sensors</source>
        <translation>Sensoren</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open sensor</source>
        <translation>Sensor ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Open &amp;settings...</source>
        <translation>&amp;Einstellungen öffnen...</translation>
    </message>
    <message>
        <source>&amp;Close sensor</source>
        <translation>Sensor &amp;schließen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Presentation mode</source>
        <translation>&amp;Präsentationsmodus</translation>
    </message>
    <message>
        <source>&amp;Refresh ports</source>
        <translation>Ports a&amp;ktualisieren</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Sprache</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message numerus="yes">
        <source>%n plug-in(s) loaded</source>
        <translation>
            <numerusform>%n Plug-in geladen</numerusform>
            <numerusform>%n Plug-ins geladen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n plug-in(s) loaded, %1 refused: see the catalogue</source>
        <translation>
            <numerusform>%n Plug-in geladen, %1 abgelehnt: siehe Katalog</numerusform>
            <numerusform>%n Plug-ins geladen, %1 abgelehnt: siehe Katalog</numerusform>
        </translation>
    </message>
    <message>
        <source>Open settings</source>
        <translation>Einstellungen öffnen</translation>
    </message>
    <message>
        <source>Settings files (*.tgs);;All files (*)</source>
        <translation>Einstellungsdateien (*.tgs);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>No serial ports</source>
        <translation>Keine seriellen Ports</translation>
    </message>
    <message>
        <source>Ports: %1</source>
        <translation>Ports: %1</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>&amp;Nebeneinander</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>&amp;Überlappend</translation>
    </message>
</context>
<context>
    <name>TGauge::PathChecks</name>
    <message>
        <source>it does not exist</source>
        <translation>sie existiert nicht</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>sie ist ein Ordner</translation>
    </message>
    <message>
        <source>it is not readable</source>
        <translation>sie ist nicht lesbar</translation>
    </message>
    <message>
        <source>the folder %1 does not exist</source>
        <translation>der Ordner %1 existiert nicht</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 ist kein Ordner</translation>
    </message>
    <message>
        <source>the folder %1 is not writable</source>
        <translation>der Ordner %1 ist nicht beschreibbar</translation>
    </message>
    <message>
        <source>it is not writable</source>
        <translation>sie ist nicht beschreibbar</translation>
    </message>
</context>
<context>
    <name>TGauge::PluginLoader</name>
    <message>
        <source>cannot be loaded: %1</source>
        <translation>kann nicht geladen werden: %1</translation>
    </message>
    <message>
        <source>lacks the entry point(s) %1</source>
        <translation>ihr fehlen die Einsprungpunkte %1</translation>
    </message>
    <message>
        <source>failed to describe itself: %1</source>
        <translation>konnte sich nicht beschreiben: %1</translation>
    </message>
</context>
<context>
    <name>TGauge::StartupRun</name>
    <message>
        <source>tgauge: cannot read the settings file %1</source>
        <translation>tgauge: die Einstellungsdatei %1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>tgauge: cannot write the settings file %1</source>
        <translation>tgauge: die Einstellungsdatei %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>tgauge: cannot write the chart data %1</source>
        <translation>tgauge: die Diagrammdaten %1 können nicht geschrieben werden</translation>
    </message>
    <message>
        <source>tgauge: cannot save the screenshot %1</source>
        <translation>tgauge: das Bildschirmfoto %1 kann nicht gespeichert werden</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>tgauge: cannot write the trace %1</source>
        <translation>tgauge: das Protokoll %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>tgauge: interrupted (%1) during %2</source>
        <translation>tgauge: unterbrochen (%1) während %2</translation>
    </message>
    <message>
        <source>opening the sensors</source>
        <translation>die Sensoren geöffnet wurden</translation>
    </message>
    <message>
        <source>tgauge: cannot open the sensor %1; the catalogue has: %2</source>
        <translation>tgauge: der Sensor %1 kann nicht geöffnet werden; der Katalog enthält: %2</translation>
    </message>
    <message>
        <source>connecting %1 through %2</source>
        <translation>%1 über %2 verbunden wurde</translation>
    </message>
    <message>
        <source>tgauge: cannot connect %1 through %2</source>
        <translation>tgauge: %1 kann nicht über %2 verbunden werden</translation>
    </message>
    <message>
        <source>applying the settings file %1 to %2</source>
        <translation>die Einstellungsdatei %1 auf %2 angewendet wurde</translation>
    </message>
    <message>
        <source>tgauge: cannot apply the settings file %1 to %2</source>
        <translation>tgauge: die Einstellungsdatei %1 kann nicht auf %2 angewendet werden</translation>
    </message>
    <message>
        <source>the run</source>
        <translation>der Lauf lief</translation>
    </message>
    <message>
        <source>saving the screenshot %1</source>
        <translation>das Bildschirmfoto %1 gespeichert wurde</translation>
    </message>
    <message>
        <source>saving the settings file %1</source>
        <translation>die Einstellungsdatei %1 gespeichert wurde</translation>
    </message>
    <message>
        <source>exporting the chart data %1</source>
        <translation>die Diagrammdaten %1 exportiert wurden</translation>
    </message>
    <message>
        <source>comparing %1 with %2</source>
        <translation>%1 mit %2 verglichen wurde</translation>
    </message>
    <message>
        <source>tgauge: cannot compare %1 with the settings file %2</source>
        <translation>tgauge: %1 kann nicht mit der Einstellungsdatei %2 verglichen werden</translation>
    </message>
    <message>
        <source>%1: no differences from %2</source>
        <translation>%1: keine Unterschiede zu %2</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n difference(s) from %2</source>
        <translation>
            <numerusform>%1: %n Unterschied zu %2</numerusform>
            <numerusform>%1: %n Unterschiede zu %2</numerusform>
        </translation>
    </message>
    <message>
        <source>tgauge: %1 did not confirm %2</source>
        <translation>tgauge: %1 hat %2 nicht bestätigt</translation>
    </message>
</context>
<context>
    <name>tgauge</name>
    <message>
        <source>tgauge: no plug-in library in %1</source>
        <translation>tgauge: keine Plug-in-Bibliothek in %1</translation>
    </message>
    <message>
        <source>tgauge: refused %1: %2</source>
        <translation>tgauge: %1 abgelehnt: %2</translation>
    </message>
    <message>
        <source>tgauge: %1
Try &apos;tgauge --help&apos;.</source>
        <translation>tgauge: %1
&apos;tgauge --help&apos; zeigt die Optionen.</translation>
    </message>
    <message>
        <source>tgauge: saved the screenshot %1</source>
        <translation>tgauge: Bildschirmfoto %1 gespeichert</translation>
    </message>
</context>
</TS>
