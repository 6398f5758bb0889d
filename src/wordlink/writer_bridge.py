#!/usr/bin/python3
"""The bridge between TavriCAT and LibreOffice Writer.

TavriCAT starts this program and talks to it over its standard input and output, one request
line and one answer line at a time (docs/wordlink.md describes the protocol). The bridge
speaks UNO to a Writer that listens on a private pipe: it connects to a running one, or starts
one with a private user profile and waits for it. It installs tavricat_link.py among that
Writer's Python scripts and hands each request to it, so that a request costs one call across
the pipe; it answers "lost" and ends when Writer goes away.
"""

import os
import subprocess
import sys
import time

try:
    import uno
    from com.sun.star.beans import PropertyValue
    from com.sun.star.connection import NoConnectException
except ImportError as missing:  # answered as the greeting, so that the workbench can say why
    sys.stdout.write("error\tPython UNO is missing (package python3-uno): %s\n" % missing)
    sys.stdout.flush()
    sys.exit(1)


MACRO = "tavricat_link.py"
MACRO_URL = "vnd.sun.star.script:tavricat_link.py$handle?language=Python&location=user"


def escape(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r"))


def file_url(path):
    return uno.systemPathToFileUrl(os.path.abspath(path))


class BridgeError(Exception):
    pass


class Bridge:
    def __init__(self, pipe, soffice, profile, headless, timeout):
        self.pipe = pipe
        self.soffice = soffice
        self.profile = profile
        self.headless = headless
        self.timeout = timeout
        self.context = None
        self.process = None
        self.script = None

    def resolve(self):
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        return resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % self.pipe)

    def connect(self):
        """'running' when a Writer was listening already, 'started' when this bridge started one."""
        try:
            self.context = self.resolve()
            how = "running"
        except NoConnectException:
            self.start()
            how = "started"
        self.install()
        self.call("configure\t%d" % (1 if self.headless else 0))
        return how

    def start(self):
        args = [self.soffice, "--accept=pipe,name=%s;urp;" % self.pipe, "--norestore", "--nologo",
                "--nodefault", "--nolockcheck", "-env:UserInstallation=" + file_url(self.profile)]
        if self.headless:
            args.insert(1, "--headless")
            args.insert(2, "--invisible")
        try:
            self.process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                            stderr=subprocess.DEVNULL, start_new_session=True)
        except OSError as e:
            raise BridgeError("cannot start %s: %s" % (self.soffice, e))
        deadline = time.monotonic() + self.timeout
        while True:
            try:
                self.context = self.resolve()
                return
            except NoConnectException:
                if self.process.poll() is not None:
                    raise BridgeError("%s ended with status %d before it listened" % (self.soffice, self.process.returncode))
                if time.monotonic() > deadline:
                    self.process.kill()
                    raise BridgeError("%s did not answer within %d s" % (self.soffice, self.timeout))
                time.sleep(0.1)

    def install(self):
        """tavricat_link.py among the Python scripts of the Writer's user profile, as this
        bridge has it (a Writer started on its own has a profile of its own)."""
        paths = self.context.ServiceManager.createInstanceWithContext("com.sun.star.util.PathSettings", self.context)
        user = os.path.dirname(uno.fileUrlToSystemPath(paths.UserConfig))
        folder = os.path.join(user, "Scripts", "python")
        source = os.path.join(os.path.dirname(os.path.abspath(__file__)), MACRO)
        with open(source, "rb") as f:
            wanted = f.read()
        target = os.path.join(folder, MACRO)
        try:
            with open(target, "rb") as f:
                present = f.read()
        except OSError:
            present = None
        if present != wanted:
            os.makedirs(folder, exist_ok=True)
            scratch = target + ".new"
            with open(scratch, "wb") as f:
                f.write(wanted)
            os.replace(scratch, target)
        factory = self.context.ServiceManager.createInstanceWithContext(
            "com.sun.star.script.provider.MasterScriptProviderFactory", self.context)
        self.script = factory.createScriptProvider("").getScript(MACRO_URL)

    def call(self, line):
        result = self.script.invoke((line,), (), ())
        return result[0] if isinstance(result, tuple) else result

    def alive(self):
        try:
            desktop = self.context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", self.context)
            desktop.getComponents()
            return True
        except Exception:
            return False

    def quit(self):
        try:
            self.call("closeall")
        except Exception:
            pass
        try:
            desktop = self.context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", self.context)
            desktop.terminate()
        except Exception:
            pass
        if self.process is not None:
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()


def serve(bridge, rfile, wfile):
    def answer(line):
        wfile.write(line + "\n")
        wfile.flush()

    for line in rfile:
        line = line.rstrip("\n")
        if not line:
            continue
        request = line.split("\t", 1)[0]
        if request == "bye":
            answer("ok")
            return
        if request == "quit":
            bridge.quit()
            answer("ok")
            return
        try:
            answer(bridge.call(line))
        except Exception as e:  # the call did not reach Writer, or Writer died during it
            why = "%s: %s" % (type(e).__name__, getattr(e, "Message", "") or e)
            if not bridge.alive():
                answer("lost\t" + escape(why))
                return
            answer("error\t" + escape(why))


def main(argv):
    import argparse
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--pipe", required=True)
    parser.add_argument("--soffice", default="soffice")
    parser.add_argument("--profile", required=True)
    parser.add_argument("--headless", action="store_true")
    parser.add_argument("--timeout", type=int, default=60)
    options = parser.parse_args(argv)
    stdin = open(sys.stdin.fileno(), "r", encoding="utf-8", newline="\n", closefd=False)
    stdout = open(sys.stdout.fileno(), "w", encoding="utf-8", newline="\n", closefd=False)
    bridge = Bridge(options.pipe, options.soffice, options.profile, options.headless, options.timeout)
    try:
        how = bridge.connect()
    except Exception as e:
        stdout.write("error\t%s\n" % escape("%s: %s" % (type(e).__name__, getattr(e, "Message", "") or e)))
        stdout.flush()
        return 1
    stdout.write("ok\t%s\n" % how)
    stdout.flush()
    serve(bridge, stdin, stdout)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
