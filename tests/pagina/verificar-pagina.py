#!/usr/bin/env python3
"""The status page of --serve in a real browser, on a copy of the demo database.

    verificar-pagina.py PROGRAMA FERRAMENTAS ESQUEMA

Builds the demo database, adds a branch whose name is markup, starts the
service on it and opens its page in headless Chromium: every machine listed,
the orange rows exactly those with unacknowledged errors, ages and sparklines
present, the filter and the title click working, the markup shown as text.
The headers and the JSON endpoints are read over plain HTTP too.
"""

import json
import os
import socket
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.request

from NavegadorCdp import Falha, Navegador

PROGRAMA, FERRAMENTAS, ESQUEMA = sys.argv[1:4]
MARCACAO = "<script>__x=1</script>"
LARANJA = "rgb(241, 150, 14)"
TITULOS = ["Filial", "Maq. ECF", "Erro?", "Intervalo", "Último Recebimento", "Último Envio", "A serem recebidos",
           "A serem enviados", "Registros na Fila"]

# Everything the checks need from the page, read at once.
LEITURA = r"""(() => {
  const linhas = [...document.querySelectorAll('#linhas tr')];
  return {
    titulos: [...document.querySelectorAll('#titulos th')].map((t) => t.textContent),
    linhas: linhas.map((tr) => ({
      filial: tr.dataset.filial, maquina: tr.dataset.maquina,
      fundo: getComputedStyle(tr.cells[0]).backgroundColor,
      primeira: tr.cells[0].textContent,
      idades: [...tr.querySelectorAll('.idade')].map((e) => e.textContent),
      graficos: tr.querySelectorAll('svg.grafico').length,
      previsao: tr.querySelector('.previsao').textContent,
    })),
    scripts: document.scripts.length,
    injetado: typeof window.__x,
    imagens: document.querySelectorAll('#linhas script, #linhas img').length,
  };
})()"""


def falhar(texto):
    print("FALHOU:", texto, file=sys.stderr)
    sys.exit(1)


def exigir(condicao, texto):
    if not condicao:
        falhar(texto)


def porta_livre():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def executar(*argumentos, entrada=None):
    return subprocess.run(argumentos, input=entrada, capture_output=True, text=True, check=True).stdout


def obter(url):
    try:
        with urllib.request.urlopen(url, timeout=10) as resposta:
            return resposta.status, dict(resposta.headers), resposta.read()
    except urllib.error.HTTPError as erro:
        return erro.code, dict(erro.headers), erro.read()


def preparar(pasta):
    banco = os.path.join(pasta, "velmora-demo.fdb")
    executar(os.path.join(FERRAMENTAS, "construir-demo"), f"--esquema={ESQUEMA}", f"--banco={banco}")
    executar("isql-fb", "-q", "-user", "SYSDBA", "-password", "masterkey", banco, entrada=
             f"INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES ('99', '{MARCACAO}');\n"
             "INSERT INTO IGFMAQUINA (MAQUINA, MAQUINAECF, INTERVALO, QTDREGRECEB) VALUES ('99', 'X1', '5', 3);\n"
             "COMMIT;\n")
    credencial = os.path.join(FERRAMENTAS, "codificar-credencial")
    ini = os.path.join(pasta, "Caminho.ini")
    with open(ini, "w", encoding="utf-8") as arquivo:
        arquivo.write(f"[DATABASEESTOQUE]\nCAMINHO={banco}\nUSUARIO={executar(credencial, 'SYSDBA').strip()}\n"
                      f"SENHA={executar(credencial, 'masterkey').strip()}\n")
    return ini


def iniciar_servico(ini, porta):
    servico = subprocess.Popen([PROGRAMA, f"--serve=127.0.0.1:{porta}", "--interval=2", f"--ini={ini}"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    limite = time.monotonic() + 60
    while time.monotonic() < limite:
        try:
            if obter(f"http://127.0.0.1:{porta}/healthz")[0] == 200:
                return servico
        except OSError:
            pass
        if servico.poll() is not None:
            falhar("o serviço terminou: " + servico.stderr.read())
        time.sleep(0.2)
    servico.kill()
    falhar("o serviço não ficou pronto")


def verificar_http(base, linhas):
    status, cabecalhos, corpo = obter(base + "/")
    exigir(status == 200 and b"pagina.js" in corpo, "a página em /")
    politica = cabecalhos.get("Content-Security-Policy", "")
    exigir("default-src 'self'" in politica and "unsafe-inline" not in politica, "política: " + politica)
    status, cabecalhos, _ = obter(base + "/pagina.js")
    exigir(status == 200 and cabecalhos.get("Content-Type", "").startswith("text/javascript"), "o script")
    status, _, corpo = obter(base + "/history.json?filial=99&maquina=X1")
    exigir(status == 200, f"histórico de 99/X1: {status}")
    historico = json.loads(corpo)
    exigir(historico["filial"] == "99" and historico["pontos"] and historico["pontos"][-1]["QTDREGRECEB"] == 3,
           "histórico de 99/X1: " + corpo.decode())
    exigir(obter(base + "/history.json?filial=99&maquina=NADA")[0] == 404, "máquina desconhecida: 404")
    exigir(obter(base + "/history.json")[0] == 404, "sem máquina: 404")
    status, _, corpo = obter(base + "/painel.json")
    painel = json.loads(corpo)
    exigir([(l["valores"]["CODEMPRESA"], l["valores"]["MAQUINAECF"]) for l in painel["linhas"]] ==
           [(l["CODEMPRESA"], l["MAQUINAECF"]) for l in linhas], "as linhas de painel.json são as de --status")


def ordem(linhas, chaves):
    def chave(linha):
        return tuple((linha[c] is not None, linha[c] if linha[c] is not None else "") for c in chaves)
    return [(l["CODEMPRESA"], l["MAQUINAECF"]) for l in sorted(linhas, key=chave)]


def pares(pagina):
    return [(l["filial"], l["maquina"]) for l in pagina["linhas"]]


def verificar_navegador(base, linhas):
    navegador = Navegador()
    try:
        navegador.abrir(base + "/")
        navegador.esperar("document.body.dataset.carregado === 'sim' && "
                          f"document.querySelectorAll('#linhas tr').length === {len(linhas)}")
        pagina = navegador.avaliar(LEITURA)
        # The demo turns the machine column on, as the window would show it.
        exigir(pagina["titulos"] == TITULOS + ["Pendências"], f"títulos: {pagina['titulos']}")
        exigir(pares(pagina) == [(l["CODEMPRESA"], l["MAQUINAECF"]) for l in linhas], "cada máquina, na ordem")
        for linha, mostrada in zip(linhas, pagina["linhas"]):
            nome = f"{linha['CODEMPRESA']}/{linha['MAQUINAECF']}"
            exigir((mostrada["fundo"] == LARANJA) == (linha["STATUSERRO"] == "Sim"),
                   f"{nome}: fundo {mostrada['fundo']} com erro {linha['STATUSERRO']}")
            exigir(len(mostrada["idades"]) == 2 and all(mostrada["idades"]), f"{nome}: idades {mostrada['idades']}")
            exigir(mostrada["graficos"] == 1 and mostrada["previsao"], f"{nome}: gráfico e previsão")
        exigir(any(l["STATUSERRO"] == "Sim" for l in linhas), "a demonstração tem linhas com erro")
        marcada = next(l for l in pagina["linhas"] if l["filial"] == "99")
        exigir(marcada["primeira"].startswith("99 - " + MARCACAO), "a marcação como texto: " + marcada["primeira"])
        exigir(pagina["scripts"] == 1 and pagina["injetado"] == "undefined" and pagina["imagens"] == 0,
               "nada da marcação vira elemento ou roda")

        # The filter: branch or machine, any case.
        maquina = linhas[0]["MAQUINAECF"]
        navegador.avaliar("(() => { const f = document.getElementById('filtro'); "
                          f"f.value = {json.dumps(maquina.lower())}; "
                          "f.dispatchEvent(new Event('input')); })()")
        esperadas = [(l["CODEMPRESA"], l["MAQUINAECF"]) for l in linhas
                     if any(maquina.lower() in l[c].lower() for c in ("CODEMPRESA", "NOME", "MAQUINAECF"))]
        exigir(0 < len(esperadas) < len(linhas), "o filtro deixa uma parte")
        exigir(pares(navegador.avaliar(LEITURA)) == esperadas, "as linhas do filtro")
        navegador.avaliar("(() => { const f = document.getElementById('filtro'); f.value = ''; "
                          "f.dispatchEvent(new Event('input')); })()")

        # A title click sorts as the window does, and the order survives the
        # page's next reading.
        for titulo, chaves in (("A serem recebidos", ["QTDREGRECEB", "CODEMPRESA"]),
                               ("Último Envio", ["ULTENVIO", "CODEMPRESA"]),
                               ("Filial", ["CODEMPRESA", "MAQUINAECF"])):
            navegador.avaliar("[...document.querySelectorAll('#titulos th')]"
                              f".find((t) => t.textContent === {json.dumps(titulo)}).click()")
            exigir(pares(navegador.avaliar(LEITURA)) == ordem(linhas, chaves), f"ordem por {titulo}")
        # In place: the page reads the service's next refresh without
        # reloading (its stamp moves, the chosen order stays).
        carimbo = "document.getElementById('atualizado').textContent"
        antes = navegador.avaliar(f"(() => {{ window.mesmaPagina = true; return {carimbo}; }})()")
        navegador.esperar(f"{carimbo} !== {json.dumps(antes)}")
        exigir(navegador.avaliar("window.mesmaPagina === true"), "a página não foi recarregada")
        exigir(pares(navegador.avaliar(LEITURA)) == ordem(linhas, ["CODEMPRESA", "MAQUINAECF"]),
               "a ordem depois da atualização")
    finally:
        navegador.fechar()


def main():
    with tempfile.TemporaryDirectory(prefix="painel-pagina-") as pasta:
        ini = preparar(pasta)
        # The embedded engine lets one process at a time hold the file: the
        # rows to expect are read before the service starts.
        linhas = json.loads(executar(PROGRAMA, "--status", "--format=json", f"--ini={ini}"))
        porta = porta_livre()
        servico = iniciar_servico(ini, porta)
        try:
            base = f"http://127.0.0.1:{porta}"
            verificar_http(base, linhas)
            verificar_navegador(base, linhas)
        except Falha as erro:
            falhar(str(erro))
        finally:
            servico.terminate()
            try:
                servico.wait(timeout=10)
            except subprocess.TimeoutExpired:
                servico.kill()
                servico.wait()
    print("ok")


if __name__ == "__main__":
    main()
