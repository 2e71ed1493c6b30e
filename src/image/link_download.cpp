#include "image/link_download.h"

#include <QDir>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

#include "image/safe_file.h"
#include "image/working_folder.h"
#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {
namespace {

// How often the caller is asked whether to go on while nothing arrives.
constexpr int kPollMs = 100;

bool IsWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == u"http" || scheme == u"https");
}

}  // namespace

DownloadOutcome DownloadToFile(const QString& link, const QString& target,
                               const DownloadLimits& limits, const DownloadProgress& progress) {
    const QUrl url(link, QUrl::TolerantMode);
    if (!IsWebAddress(url)) return DownloadOutcome::Refused;

    QNetworkAccessManager network;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    QNetworkReply* reply = network.get(request);

    QByteArray data;
    DownloadOutcome outcome = DownloadOutcome::Done;
    QEventLoop loop;
    bool finished = false;
    auto finish = [&](DownloadOutcome why) {
        if (finished) return;
        finished = true;
        outcome = why;
        reply->abort();
        loop.quit();
    };
    // Aborting emits the reply's signals once more; they must not ask again.
    auto ask = [&](qint64 received, qint64 total) {
        if (!finished && progress && !progress(received, total)) finish(DownloadOutcome::Cancelled);
    };
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        if (finished) return;
        data += reply->readAll();
        if (data.size() > limits.maxBytes) finish(DownloadOutcome::TooLarge);
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop,
                     [&](qint64 received, qint64 total) {
                         if (total > limits.maxBytes) finish(DownloadOutcome::TooLarge);
                         ask(received, total);
                     });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop,
                     [&] { finish(DownloadOutcome::TimedOut); });
    deadline.start(limits.timeoutMs);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] { ask(data.size(), -1); });
    poll.start(kPollMs);
    if (!reply->isFinished()) loop.exec();
    deadline.stop();
    poll.stop();

    if (outcome == DownloadOutcome::Done) {
        data += reply->readAll();
        if (reply->error() != QNetworkReply::NoError)
            outcome = DownloadOutcome::Failed;
        else if (data.size() > limits.maxBytes)
            outcome = DownloadOutcome::TooLarge;
        else if (data.isEmpty())
            outcome = DownloadOutcome::Failed;
        else if (data.front() == '<')
            outcome = DownloadOutcome::WebPage;
    }
    reply->deleteLater();
    if (outcome != DownloadOutcome::Done) return outcome;

    SafeFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.Commit()) {
        return DownloadOutcome::Failed;
    }
    return DownloadOutcome::Done;
}

QString DownloadLink(const QString& link, const QString& type, const DownloadLimits& limits,
                     const DownloadProgress& progress) {
    const QString folder = WorkingFolder();
    if (folder.isEmpty()) return {};
    const QString target = QDir(folder).filePath(u"tmp."_qs + type);
    const DownloadOutcome outcome = DownloadToFile(link, target, limits, progress);
    if (outcome == DownloadOutcome::Done) return target;
    if (outcome != DownloadOutcome::Cancelled) ShowMessage(kMsgDownloadFailed, kStyleInformation);
    return {};
}

}  // namespace tessaly
