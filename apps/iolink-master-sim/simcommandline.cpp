#include "simcommandline.h"

namespace Kr7dSim {

namespace {

QCommandLineOption valueOption(const char *name, const char *description, const char *valueName)
{
    return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description),
                              QString::fromLatin1(valueName));
}

} // namespace

SimCommandLine::SimCommandLine()
    : m_description(valueOption("description", "Sensor description file.", "file"))
    , m_sensor(valueOption("sensor", "Sensor type name (default: the first).", "name"))
    , m_variant(valueOption("variant", "Variant code ID3 (default: the first).", "id3"))
    , m_productId(valueOption("product-id", "Product id text the sensor reports.", "text"))
    , m_link(valueOption("link", "Symbolic link to the port, removed on exit.", "path"))
    , m_log(valueOption("log", "Log every frame in (<) and out (>) as hex.", "file"))
    , m_latency(valueOption("latency-ms", "Delay of every answer.", "ms"))
    , m_dropEvery(valueOption("drop-every", "Leave every Nth request unanswered.", "n"))
    , m_corruptEvery(valueOption("corrupt-every", "Flip a bit in every Nth answer.", "n"))
    , m_unplugAfter(
          valueOption("unplug-after-ms", "Close the port and exit after this time.", "ms"))
    , m_listen(valueOption("listen",
                           "Also serve on loopback TCP: tcp:PORT (raw) or rfc2217:PORT (Telnet with "
                           "COM-port control); port 0 takes a free one. Repeatable; without --pty "
                           "no pseudo-terminal is opened.",
                           "address"))
    , m_pty(QStringLiteral("pty"), QStringLiteral("Serve a pseudo-terminal besides --listen."))
{
    m_parser.setApplicationDescription(
        QStringLiteral("Simulated IO-Link master with one KR7D sensor on a pseudo-terminal or TCP."));
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addOptions({m_description, m_sensor, m_variant, m_productId, m_link, m_log, m_latency,
                         m_dropEvery, m_corruptEvery, m_unplugAfter, m_listen, m_pty});
}

std::optional<SimOptions> SimCommandLine::parse(const QStringList &arguments,
                                                const QString &defaultDescription)
{
    m_error.clear();
    if (!m_parser.parse(arguments)) {
        m_error = m_parser.errorText();
        return std::nullopt;
    }
    if (!m_parser.positionalArguments().isEmpty()) {
        m_error = QStringLiteral("unexpected argument: %1")
                      .arg(m_parser.positionalArguments().constFirst());
        return std::nullopt;
    }

    SimOptions options;
    options.helpRequested = m_parser.isSet(QStringLiteral("help"));
    options.versionRequested = m_parser.isSet(QStringLiteral("version"));
    options.descriptionPath
        = m_parser.isSet(m_description) ? m_parser.value(m_description) : defaultDescription;
    options.selection.sensorName = m_parser.value(m_sensor);
    options.selection.variantId3 = m_parser.value(m_variant);
    options.selection.productId = m_parser.value(m_productId);
    options.linkPath = m_parser.value(m_link);
    options.logPath = m_parser.value(m_log);

    for (const QString &text : m_parser.values(m_listen)) {
        const std::optional<ListenAddress> address = listenAddress(text);
        if (!address)
            return std::nullopt;
        options.listen.append(*address);
    }
    options.pty = options.listen.isEmpty() || m_parser.isSet(m_pty);

    const std::optional<qint64> latency = count(m_latency, 0);
    const std::optional<qint64> dropEvery = count(m_dropEvery, 0);
    const std::optional<qint64> corruptEvery = count(m_corruptEvery, 0);
    const std::optional<qint64> unplugAfter = count(m_unplugAfter, -1);
    if (!latency || !dropEvery || !corruptEvery || !unplugAfter)
        return std::nullopt;
    options.faults.latencyMs = int(*latency);
    options.faults.dropEvery = int(*dropEvery);
    options.faults.corruptEvery = int(*corruptEvery);
    options.faults.unplugAfterMs = *unplugAfter;
    return options;
}

std::optional<qint64> SimCommandLine::count(const QCommandLineOption &option, qint64 absent)
{
    if (!m_parser.isSet(option))
        return absent;
    const QString text = m_parser.value(option);
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok && value >= 0)
        return value;
    m_error = QStringLiteral("--%1 expects a whole number of at least 0, not \"%2\"")
                  .arg(option.names().constFirst(), text);
    return std::nullopt;
}

std::optional<ListenAddress> SimCommandLine::listenAddress(const QString &text)
{
    const int colon = text.indexOf(QLatin1Char(':'));
    const QString scheme = text.left(colon);
    bool ok = false;
    const uint port = text.mid(colon + 1).toUInt(&ok);
    if (colon > 0 && ok && port <= 65535
        && (scheme == QLatin1String("tcp") || scheme == QLatin1String("rfc2217"))) {
        return ListenAddress{scheme == QLatin1String("tcp") ? NetworkServer::Protocol::Raw
                                                            : NetworkServer::Protocol::Rfc2217,
                             quint16(port)};
    }
    m_error = QStringLiteral("--listen expects tcp:PORT or rfc2217:PORT, not \"%1\"").arg(text);
    return std::nullopt;
}

} // namespace Kr7dSim
