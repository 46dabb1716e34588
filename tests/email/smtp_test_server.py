#!/usr/bin/python3
"""A real SMTP server on 127.0.0.1 for the e-mail tests.

Prints "PORT <n>" once it listens, then serves until it is killed. Every
greeting, login and message is appended to the log file as one JSON line; a
message is parsed with Python's standard email package so the tests check what
a mail reader would see.

  --auth LOGIN,PLAIN   mechanisms offered in the EHLO reply (empty: no AUTH line)
  --starttls           also offer STARTTLS (the server cannot start it)
  --require-auth       refuse MAIL FROM with 530 until logged in
  --reject-rcpt        refuse every recipient with 550
  --silent             accept connections but never say a word
  --delay SECONDS      wait this long before accepting a message (the log
                       shows "data_end" as soon as the message's end arrived)
  --tls                offer a working STARTTLS (smtp_test_cert.pem beside this
                       script) and take logins only after it
Logins succeed with the password "secret" and fail with 535 otherwise.
"""
import argparse
import asyncio
import base64
import email
import email.policy
import json
import os
import socket
import ssl
import sys
import time

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def parse_args():
    parser = argparse.ArgumentParser()
    parser.add_argument("--log", required=True)
    parser.add_argument("--auth", default="")
    parser.add_argument("--starttls", action="store_true")
    parser.add_argument("--require-auth", action="store_true")
    parser.add_argument("--reject-rcpt", action="store_true")
    parser.add_argument("--silent", action="store_true")
    parser.add_argument("--delay", type=float, default=0.0)
    parser.add_argument("--tls", action="store_true")
    return parser.parse_args()


ARGS = parse_args()


def log(event, **fields):
    fields["event"] = event
    with open(ARGS.log, "a", encoding="utf-8") as out:
        out.write(json.dumps(fields) + "\n")


def describe_message(raw):
    message = email.message_from_bytes(raw, policy=email.policy.default)
    parts = []
    body = None
    if message.is_multipart():
        for part in message.iter_parts():
            payload = part.get_payload(decode=True) or b""
            parts.append({
                "content_type": part.get_content_type(),
                "charset": part.get_content_charset(),
                "transfer_encoding": part.get("Content-Transfer-Encoding", ""),
                "filename": part.get_filename(),
                "disposition": part.get_content_disposition(),
                "payload_b64": base64.b64encode(payload).decode("ascii"),
                "text": part.get_content() if part.get_content_maintype() == "text" else None,
            })
    else:
        body = message.get_content()
    from_header = message["From"]
    to_header = message["To"]
    return {
        "raw_b64": base64.b64encode(raw).decode("ascii"),
        "from_name": from_header.addresses[0].display_name if from_header else None,
        "from_address": from_header.addresses[0].addr_spec if from_header else None,
        "to_name": to_header.addresses[0].display_name if to_header else None,
        "to_address": to_header.addresses[0].addr_spec if to_header else None,
        "subject": str(message["Subject"]) if message["Subject"] is not None else None,
        "date": str(message["Date"]) if message["Date"] is not None else None,
        "message_id": message["Message-ID"],
        "mime_version": message["MIME-Version"],
        "content_type": message.get_content_type(),
        "charset": message.get_content_charset(),
        "transfer_encoding": message.get("Content-Transfer-Encoding", ""),
        "preamble": message.preamble,
        "defects": [type(d).__name__ for d in message.defects],
        "body": body,
        "parts": parts,
    }


class Handler:
    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        log("ehlo", hostname=hostname)
        session.host_name = hostname
        if ARGS.tls and not ARGS.auth:
            return responses  # the server's own offer: AUTH only after STARTTLS
        kept = [r for r in responses if not r[4:].upper().startswith("AUTH")]
        extra = []
        if ARGS.starttls:
            extra.append("250-STARTTLS")
        if ARGS.auth:
            extra.append("250-AUTH " + " ".join(ARGS.auth.split(",")))
        return kept[:-1] + extra + kept[-1:]

    async def handle_HELO(self, server, session, envelope, hostname):
        log("helo", hostname=hostname)
        session.host_name = hostname
        return "250 {}".format(server.hostname)

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        if ARGS.require_auth and not session.authenticated:
            return "530 5.7.0 Authentication required"
        envelope.mail_from = address
        envelope.mail_options.extend(mail_options)
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if ARGS.reject_rcpt:
            return "550 5.1.1 No such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        # The whole message, its end included, has arrived; the answer follows.
        log("data_end")
        if ARGS.delay:
            await asyncio.sleep(ARGS.delay)
        record = describe_message(envelope.original_content)
        record["mail_from"] = envelope.mail_from
        record["rcpt_tos"] = envelope.rcpt_tos
        record["authenticated"] = bool(session.authenticated)
        record["tls"] = session.ssl is not None
        log("message", **record)
        return "250 Message accepted"


def authenticator(server, session, envelope, mechanism, auth_data):
    login = password = None
    if isinstance(auth_data, LoginPassword):
        login = auth_data.login.decode("utf-8", "replace")
        password = auth_data.password.decode("utf-8", "replace")
    log("auth", mechanism=mechanism, login=login, password=password, tls=session.ssl is not None)
    return AuthResult(success=(password == "secret"), handled=False)


def serve_silently():
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    print("PORT {}".format(listener.getsockname()[1]), flush=True)
    # Connections complete in the backlog; nobody ever answers them.
    while True:
        time.sleep(3600)


def serve():
    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)

    tls_context = None
    if ARGS.tls:
        here = os.path.dirname(os.path.abspath(__file__))
        tls_context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        tls_context.load_cert_chain(os.path.join(here, "smtp_test_cert.pem"),
                                    os.path.join(here, "smtp_test_key.pem"))

    def factory():
        return SMTP(Handler(), hostname="mail.test", authenticator=authenticator,
                    auth_require_tls=ARGS.tls, tls_context=tls_context)

    server = loop.run_until_complete(loop.create_server(factory, "127.0.0.1", 0))
    print("PORT {}".format(server.sockets[0].getsockname()[1]), flush=True)
    loop.run_forever()


if __name__ == "__main__":
    if ARGS.silent:
        serve_silently()
    else:
        serve()
    sys.exit(0)
