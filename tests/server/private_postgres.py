#!/usr/bin/python3
"""A private PostgreSQL server for the tests and benchmarks, on 127.0.0.1 only.

  private_postgres.py start STATE_DIR   initdb in a new temporary folder, start
                                        the server on a free port, and write
                                        STATE_DIR/server.ini (port, folder)
  private_postgres.py stop STATE_DIR    stop that server and remove its folder
  private_postgres.py halt STATE_DIR    stop that server at once, as a power cut
                                        would (no clean shutdown), keeping its data
  private_postgres.py resume STATE_DIR  start a halted server again on its port

The cluster belongs to the user running this, or to "nobody" when that is root
(initdb refuses root, and CI runs as root). Two roles: "fennick_test", a
superuser trusted from 127.0.0.1 that the tests connect as, and "anna", who
must give the password "anna-secret" (the tests' wrong-password case). Nothing
listens on a Unix socket or any address but 127.0.0.1. A server left by an
earlier run in the same STATE_DIR is stopped first.
"""
import configparser
import os
import pwd
import shutil
import socket
import subprocess
import sys
import tempfile
import time

BIN = "/usr/lib/postgresql/15/bin"
STATE_FILE = "server.ini"


def as_server_user(args, owner):
    if os.geteuid() == 0:
        return ["runuser", "-u", owner, "--"] + args
    return args


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def run(args, **kwargs):
    result = subprocess.run(args, capture_output=True, text=True, **kwargs)
    if result.returncode != 0:
        sys.stderr.write(f"{' '.join(args)} failed:\n{result.stdout}{result.stderr}\n")
        raise SystemExit(1)
    return result.stdout


def read_state(state_dir):
    path = os.path.join(state_dir, STATE_FILE)
    if not os.path.exists(path):
        return None
    config = configparser.ConfigParser()
    config.read(path)
    return config["server"]


def stop(state_dir):
    state = read_state(state_dir)
    if state is None:
        return
    folder = state["folder"]
    data = os.path.join(folder, "data")
    if os.path.isdir(data):
        subprocess.run(as_server_user([os.path.join(BIN, "pg_ctl"), "-D", data, "-m", "immediate", "-w", "stop"],
                                      state["owner"]), capture_output=True)
    shutil.rmtree(folder, ignore_errors=True)
    os.remove(os.path.join(state_dir, STATE_FILE))


def start_server(folder, port, owner):
    data = os.path.join(folder, "data")
    options = (f"-c listen_addresses=127.0.0.1 -c port={port} -c unix_socket_directories='' "
               "-c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200 "
               "-c shared_buffers=32MB")
    log = os.path.join(folder, "server.log")
    return subprocess.run(as_server_user([os.path.join(BIN, "pg_ctl"), "-D", data, "-l", log, "-w",
                                          "-t", "60", "-o", options, "start"], owner),
                          capture_output=True, text=True)


def halt(state_dir):
    state = read_state(state_dir)
    data = os.path.join(state["folder"], "data")
    run(as_server_user([os.path.join(BIN, "pg_ctl"), "-D", data, "-m", "immediate", "-w", "stop"], state["owner"]))


def resume(state_dir):
    state = read_state(state_dir)
    started = start_server(state["folder"], int(state["port"]), state["owner"])
    if started.returncode != 0:
        sys.stderr.write(started.stdout + started.stderr)
        raise SystemExit("the private PostgreSQL server did not start again")


def start(state_dir):
    os.makedirs(state_dir, exist_ok=True)
    stop(state_dir)
    owner = "nobody" if os.geteuid() == 0 else pwd.getpwuid(os.geteuid()).pw_name
    folder = tempfile.mkdtemp(prefix="fennick-pg-")
    os.chmod(folder, 0o755)
    if os.geteuid() == 0:
        entry = pwd.getpwnam(owner)
        os.chown(folder, entry.pw_uid, entry.pw_gid)
    data = os.path.join(folder, "data")
    password_file = os.path.join(folder, "initdb-password")
    run(as_server_user([os.path.join(BIN, "initdb"), "-D", data, "-U", "fennick_test", "-E", "UTF8",
                        "--locale=C.UTF-8", "--auth=trust", "--no-sync"], owner))
    # anna signs in with a password; every other role is trusted, from 127.0.0.1 only.
    hba = os.path.join(data, "pg_hba.conf")
    rules = ("host all anna 127.0.0.1/32 scram-sha-256\n"
             "host all all 127.0.0.1/32 trust\n")
    subprocess.run(as_server_user(["sh", "-c", f"printf '%s' '{rules}' > '{hba}'"], owner), check=True)

    # A free port can be taken by someone else between the probe and the start: try again.
    for attempt in range(5):
        port = free_port()
        if start_server(folder, port, owner).returncode == 0:
            break
        time.sleep(0.2)
    else:
        with open(os.path.join(folder, "server.log")) as text:
            sys.stderr.write(text.read())
        shutil.rmtree(folder, ignore_errors=True)
        raise SystemExit("the private PostgreSQL server did not start")

    run(["psql", "-X", "-q", "-h", "127.0.0.1", "-p", str(port), "-U", "fennick_test", "-d", "postgres",
         "-c", "CREATE ROLE anna LOGIN PASSWORD 'anna-secret'"])
    with open(os.path.join(state_dir, STATE_FILE), "w") as state:
        state.write(f"[server]\nport = {port}\nfolder = {folder}\nowner = {owner}\n")
    print(port)


def main():
    commands = {"start": start, "stop": stop, "halt": halt, "resume": resume}
    if len(sys.argv) != 3 or sys.argv[1] not in commands:
        raise SystemExit(__doc__)
    commands[sys.argv[1]](sys.argv[2])


if __name__ == "__main__":
    main()
