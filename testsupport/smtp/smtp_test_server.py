#!/usr/bin/python3
"""A mail server for the tests, on loopback, built on aiosmtpd.

serve: listens on 127.0.0.1:PORT (0 picks one), prints "ready PORT", saves
each accepted message as NNNN.eml (0600) in --dir, and runs until SIGTERM. Options make it refuse a recipient with 550, close
the connection instead of answering the end of a message, offer STARTTLS
with a given certificate, or ask for a login.

extract: prints what a saved message holds (subject decoded, from, to, the
text, the attachment's name and type) and writes the decoded attachment
into a folder.
"""
import argparse
import asyncio
import email
import email.header
import email.policy
import os
import signal
import ssl

from aiosmtpd.smtp import SMTP, AuthResult


class Handler:
    def __init__(self, folder, reject, close_on_data):
        self.folder = folder
        self.reject = set(reject)
        self.close_on_data = close_on_data
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address in self.reject:
            return "550 5.1.1 <%s>: Recipient address rejected: no such user" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if self.close_on_data:
            # The whole message arrived; the connection ends before the reply.
            server.transport.abort()
            return "250 never sent"
        self.count += 1
        name = os.path.join(self.folder, "%04d.eml" % self.count)
        temp = name + ".tmp"
        fd = os.open(temp, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600)
        with os.fdopen(fd, "wb") as f:
            f.write(envelope.original_content)
            f.flush()
            os.fsync(f.fileno())
        os.rename(temp, name)
        return "250 2.0.0 Ok: queued as %04d" % self.count


def serve(args):
    handler = Handler(args.dir, args.reject or [], args.close_on_data)
    kwargs = {"auth_require_tls": False, "decode_data": False}
    if args.tls_cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.tls_cert, args.tls_key)
        kwargs["tls_context"] = context
    if args.user:
        def check(server, session, envelope, mechanism, auth_data):
            ok = (auth_data.login.decode() == args.user and
                  auth_data.password.decode() == args.password)
            return AuthResult(success=ok, handled=False)
        kwargs["authenticator"] = check
        kwargs["auth_required"] = True

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    server = loop.run_until_complete(loop.create_server(
        lambda: SMTP(handler, hostname="localhost", **kwargs),
        host="127.0.0.1", port=args.port))
    port = server.sockets[0].getsockname()[1]
    print("ready %d" % port, flush=True)
    stop = asyncio.Event()
    loop.add_signal_handler(signal.SIGTERM, stop.set)
    loop.run_until_complete(stop.wait())
    server.close()
    loop.run_until_complete(server.wait_closed())


def one_line(text):
    return text.replace("\\", "\\\\").replace("\r", "\\r").replace("\n", "\\n")


def extract(args):
    with open(args.message, "rb") as f:
        message = email.message_from_binary_file(f, policy=email.policy.default)
    subject = str(email.header.make_header(email.header.decode_header(message["Subject"])))
    print("subject=" + one_line(subject))
    print("from=" + one_line(str(message["From"])))
    print("to=" + one_line(str(message["To"])))
    print("message-id=" + one_line(str(message["Message-ID"])))
    body = message.get_body(preferencelist=("plain",))
    print("body=" + one_line(body.get_content() if body else ""))
    for part in message.iter_attachments():
        name = os.path.basename(part.get_filename() or "attachment")
        data = part.get_payload(decode=True)
        target = os.path.join(args.out, name)
        fd = os.open(target, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600)
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        print("attachment=" + one_line(name))
        print("attachment-type=" + part.get_content_type())
        print("attachment-bytes=%d" % len(data))


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="command", required=True)
    s = sub.add_parser("serve")
    s.add_argument("--port", type=int, default=0)
    s.add_argument("--dir", required=True)
    s.add_argument("--reject", action="append")
    s.add_argument("--close-on-data", action="store_true")
    s.add_argument("--tls-cert")
    s.add_argument("--tls-key")
    s.add_argument("--user")
    s.add_argument("--password")
    e = sub.add_parser("extract")
    e.add_argument("message")
    e.add_argument("out")
    args = parser.parse_args()
    if args.command == "serve":
        serve(args)
    else:
        extract(args)


if __name__ == "__main__":
    main()
