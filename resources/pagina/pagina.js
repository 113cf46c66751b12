// The status page: reads painel.json at the service's pace and redraws the
// rows in place. Every text from the database goes in through textContent or
// an attribute, never as markup.
'use strict';

(function () {
  const SVG = 'http://www.w3.org/2000/svg';
  const LARGURA = 80;
  const ALTURA = 24;
  const estado = { dados: null, chaves: null, campoOrdem: null, filtro: '', falhou: false };

  function elemento(nome, classe, texto) {
    const e = document.createElement(nome);
    if (classe) e.className = classe;
    if (texto !== undefined) e.textContent = texto;
    return e;
  }

  // The window's title click: "Filial" by branch code then machine, any
  // other column by its own field then branch code; always ascending.
  function chavesDoTitulo(campo) {
    if (campo === 'NOME') return ['CODEMPRESA', 'MAQUINAECF'];
    if (campo === 'CODEMPRESA') return ['CODEMPRESA'];
    return [campo, 'CODEMPRESA'];
  }

  // Counts by value; texts by their UTF-16 units, as the window compares
  // them ("15" before "5"); dates come as "yyyy-MM-ddTHH:mm:ss", which
  // orders by time; an absent date (null) or an empty text first.
  function compararValor(x, y) {
    if (x === null || y === null) return (x !== null) - (y !== null);
    return x < y ? -1 : (y < x ? 1 : 0);
  }

  function comparar(a, b, chaves) {
    for (const campo of chaves) {
      const r = compararValor(a.valores[campo], b.valores[campo]);
      if (r !== 0) return r;
    }
    return 0;
  }

  function passaFiltro(linha) {
    const filtro = estado.filtro.trim().toLocaleLowerCase('pt-BR');
    if (!filtro) return true;
    const v = linha.valores;
    return [v.CODEMPRESA, v.NOME, v.MAQUINAECF].some(
      (texto) => String(texto).toLocaleLowerCase('pt-BR').includes(filtro));
  }

  function ordenarPor(campo) {
    estado.campoOrdem = campo;
    estado.chaves = chavesDoTitulo(campo);
    desenhar();
  }

  function desenharTitulos(colunas) {
    const titulos = document.getElementById('titulos');
    const assinatura = colunas.map((c) => c.campo).join(',');
    if (titulos.dataset.colunas !== assinatura) {
      titulos.replaceChildren();
      const opcoes = document.getElementById('ordenar');
      opcoes.replaceChildren(elemento('option', null, '(ordem do banco)'));
      opcoes.firstChild.value = '';
      for (const coluna of colunas) {
        const th = elemento('th', null, coluna.titulo);
        th.dataset.campo = coluna.campo;
        th.addEventListener('click', () => ordenarPor(coluna.campo));
        titulos.appendChild(th);
        const opcao = elemento('option', null, coluna.titulo);
        opcao.value = coluna.campo;
        opcoes.appendChild(opcao);
      }
      titulos.appendChild(elemento('th', 'sem-ordem', 'Pendências'));
      titulos.dataset.colunas = assinatura;
    }
    for (const th of titulos.children) th.classList.toggle('ordem', th.dataset.campo === estado.campoOrdem);
  }

  // The backlog over the history; a stretch without samples (the database
  // could not be read) leaves a break in the line.
  function grafico(pontos) {
    const svg = document.createElementNS(SVG, 'svg');
    svg.setAttribute('class', 'grafico');
    svg.setAttribute('width', LARGURA);
    svg.setAttribute('height', ALTURA);
    svg.setAttribute('viewBox', '0 0 ' + LARGURA + ' ' + ALTURA);
    svg.setAttribute('role', 'img');
    if (pontos.length === 0) return svg;
    const t0 = pontos[0][0];
    const extensao = Math.max(pontos[pontos.length - 1][0] - t0, 1);
    const maximo = Math.max(1, ...pontos.map((p) => p[1]));
    const passo = Math.max(extensao / 47, 60);
    const x = (t) => (pontos.length === 1 ? LARGURA - 2 : 1 + (t - t0) * (LARGURA - 2) / extensao);
    const y = (v) => ALTURA - 2 - v * (ALTURA - 4) / maximo;
    svg.setAttribute('aria-label', 'Pendências: ' + pontos[pontos.length - 1][1]);
    let trecho = [];
    const fechar = () => {
      if (trecho.length === 1) {
        const c = document.createElementNS(SVG, 'circle');
        c.setAttribute('cx', trecho[0][0]);
        c.setAttribute('cy', trecho[0][1]);
        c.setAttribute('r', 1.5);
        svg.appendChild(c);
      } else if (trecho.length > 1) {
        const l = document.createElementNS(SVG, 'polyline');
        l.setAttribute('points', trecho.map((p) => p[0].toFixed(1) + ',' + p[1].toFixed(1)).join(' '));
        svg.appendChild(l);
      }
      trecho = [];
    };
    pontos.forEach((p, i) => {
      if (i > 0 && p[0] - pontos[i - 1][0] > 3 * passo) fechar();
      trecho.push([x(p[0]), y(p[1])]);
    });
    fechar();
    return svg;
  }

  function celula(linha, coluna) {
    const td = elemento('td', coluna.alinhamento === 'esquerda' ? null : coluna.alinhamento);
    td.dataset.titulo = coluna.titulo;
    td.dataset.campo = coluna.campo;
    const texto = linha.textos[coluna.campo];
    if (coluna.tipo === 'data') {
      td.appendChild(elemento('span', 'data', texto));
      td.appendChild(elemento('span', 'idade', linha.idades[coluna.campo]));
    } else {
      td.textContent = texto;
    }
    const dica = linha.dicas[coluna.campo];
    if (dica) td.title = dica;
    if (coluna.campo === 'NOME' && linha.atrasada) td.appendChild(elemento('span', 'selo', 'atrasada'));
    return td;
  }

  function desenharLinhas(dados) {
    let linhas = dados.linhas.filter(passaFiltro);
    if (estado.chaves) linhas = linhas.slice().sort((a, b) => comparar(a, b, estado.chaves));
    const corpo = elemento('tbody');
    corpo.id = 'linhas';
    for (const linha of linhas) {
      const tr = elemento('tr');
      if (linha.erro) tr.classList.add('erro');
      if (linha.atrasada) tr.classList.add('atrasada');
      tr.dataset.filial = linha.valores.CODEMPRESA;
      tr.dataset.maquina = linha.valores.MAQUINAECF;
      for (const coluna of dados.colunas) tr.appendChild(celula(linha, coluna));
      const pendencias = elemento('td', 'tendencia');
      pendencias.appendChild(grafico(linha.grafico));
      pendencias.appendChild(elemento('span', 'previsao', linha.previsao));
      tr.appendChild(pendencias);
      corpo.appendChild(tr);
    }
    document.getElementById('linhas').replaceWith(corpo);
    document.getElementById('vazio').hidden = linhas.length > 0;
  }

  function desenhar() {
    const banco = document.getElementById('banco');
    const dados = estado.dados;
    if (estado.falhou) {
      banco.textContent = 'Serviço inacessível: mostrando a última leitura.';
      banco.hidden = false;
    } else if (dados && dados.banco_inacessivel_desde) {
      banco.textContent = 'Banco inacessível desde ' + dados.banco_inacessivel_desde;
      banco.hidden = false;
    } else {
      banco.hidden = true;
    }
    if (!dados) return;
    document.getElementById('atualizado').textContent =
      dados.lidas_em ? 'Informações atualizadas em ' + dados.lidas_em : 'Atualizado em:';
    desenharTitulos(dados.colunas);
    desenharLinhas(dados);
    document.body.dataset.carregado = 'sim';
  }

  async function buscar() {
    try {
      const resposta = await fetch('painel.json', { cache: 'no-store' });
      if (!resposta.ok) throw new Error(String(resposta.status));
      estado.dados = await resposta.json();
      estado.falhou = false;
    } catch (e) {
      estado.falhou = true;
    }
    desenhar();
    const segundos = estado.dados ? estado.dados.atualizar_segundos : 15;
    setTimeout(buscar, Math.min(Math.max(segundos, 2), 60) * 1000);
  }

  document.addEventListener('DOMContentLoaded', () => {
    document.getElementById('filtro').addEventListener('input', (e) => {
      estado.filtro = e.target.value;
      desenhar();
    });
    document.getElementById('ordenar').addEventListener('change', (e) => {
      if (e.target.value) ordenarPor(e.target.value);
      else { estado.chaves = null; estado.campoOrdem = null; desenhar(); }
    });
    buscar();
  });
})();
