"""Headless Chromium driven over its DevTools protocol on a pipe.

Chromium started with --remote-debugging-pipe reads commands on its file
descriptor 3 and writes answers and events on 4, one JSON message per
NUL-terminated record. No driver program and no websocket are needed.
"""

import json
import os
import shutil
import subprocess
import tempfile
import time

OPCOES = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--disable-dev-shm-usage", "--hide-scrollbars",
]


class Falha(Exception):
    pass


class Navegador:
    def __init__(self, largura=1280, altura=900):
        self._perfil = tempfile.mkdtemp(prefix="painel-chromium-")
        comandos_leitura, self._comandos = os.pipe()
        self._respostas, respostas_escrita = os.pipe()

        def descritores():
            os.dup2(comandos_leitura, 3)
            os.dup2(respostas_escrita, 4)

        self._processo = subprocess.Popen(
            ["chromium", *OPCOES, "--remote-debugging-pipe", f"--user-data-dir={self._perfil}",
             f"--window-size={largura},{altura}", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=descritores, pass_fds=(3, 4))
        os.close(comandos_leitura)
        os.close(respostas_escrita)
        self._proximo = 0
        self._resto = b""
        self._sessao = None

    def fechar(self):
        try:
            self.comando("Browser.close")
        except (Falha, OSError):
            pass
        try:
            self._processo.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self._processo.kill()
            self._processo.wait()
        os.close(self._comandos)
        os.close(self._respostas)
        shutil.rmtree(self._perfil, ignore_errors=True)

    def _mensagem(self):
        while b"\0" not in self._resto:
            bloco = os.read(self._respostas, 65536)
            if not bloco:
                raise Falha("o Chromium terminou")
            self._resto += bloco
        mensagem, self._resto = self._resto.split(b"\0", 1)
        return json.loads(mensagem)

    def comando(self, metodo, sessao=None, **parametros):
        self._proximo += 1
        pedido = {"id": self._proximo, "method": metodo, "params": parametros}
        if sessao:
            pedido["sessionId"] = sessao
        os.write(self._comandos, json.dumps(pedido).encode() + b"\0")
        while True:
            resposta = self._mensagem()
            if resposta.get("id") == self._proximo:
                if "error" in resposta:
                    raise Falha(f"{metodo}: {resposta['error']}")
                return resposta.get("result", {})

    def abrir(self, endereco):
        alvo = self.comando("Target.createTarget", url=endereco)["targetId"]
        self._sessao = self.comando("Target.attachToTarget", targetId=alvo, flatten=True)["sessionId"]

    def avaliar(self, expressao):
        """The value of a JavaScript expression in the page (promises awaited)."""
        resultado = self.comando("Runtime.evaluate", self._sessao, expression=expressao,
                                 returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in resultado:
            raise Falha(f"erro no script: {resultado['exceptionDetails']}")
        return resultado["result"].get("value")

    def esperar(self, expressao, segundos=30):
        """Until the expression holds; before the page exists it may throw."""
        protegida = f"(() => {{ try {{ return !!({expressao}); }} catch (e) {{ return false; }} }})()"
        limite = time.monotonic() + segundos
        while time.monotonic() < limite:
            if self.avaliar(protegida):
                return
            time.sleep(0.1)
        raise Falha(f"não aconteceu em {segundos} s: {expressao}")
